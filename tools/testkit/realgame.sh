# The real game as a player starts it, on an X server of its own (Xvfb), watched from the
# outside: its windows through zr-xwin (xwin.c here) and driven through xdotool, its process
# through /proc. Sourced by the real-game tests, the package test and the measurements under
# bench/. ZR_GAME_DIR (default build/game) is the game folder copied, ZR_XWIN the helper.
# Each wait gives up after RG_PATIENCE seconds (5). rg_fail ends the script, with why and
# the end of the game's output. Everything started is stopped, and rg_work removed, at the end.
#
# Run rather than sourced, `realgame.sh WIDTHxHEIGHT COMMAND...` runs COMMAND on an Xvfb.
rg_top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
: "${ZR_GAME_DIR:=$rg_top/build/game}" "${ZR_XWIN:=$rg_top/build/obj/tools/testkit/zr-xwin}" "${RG_PATIENCE:=5}"
rg_work=$(mktemp -d) rg_game="" rg_xvfb="" rg_other=""
rg_stop() {
  { for p in $rg_game $rg_other; do kill -9 "$p"; done; [ -z "$rg_xvfb" ] || kill -TERM "$rg_xvfb"; wait; } 2>/dev/null
  rm -rf "$rg_work"
}
trap rg_stop EXIT
rg_fail() { echo "FAILED: $*" >&2; tail -c 1500 "$rg_work/game.log" 2>/dev/null >&2; exit 1; }
rg_ms() { echo $((${EPOCHREALTIME/./} / 1000)); }
# rg_until SECONDS COMMAND...: runs COMMAND every 10 ms until it succeeds; false after SECONDS.
rg_until() {
  local end=$((${EPOCHREALTIME/./} + $1 * 1000000)); shift
  until "$@"; do (( ${EPOCHREALTIME/./} < end )) || return 1; sleep 0.01; done
}

# rg_xvfb SIZE [reset] [:N]: an Xvfb of SIZE (WxH, 24 bits, black root) on a number nobody
# uses (or :N), DISPLAY set to it. "reset": it resets when its last client leaves, as Xvfb
# does by default (a client connecting then may be refused for a moment).
rg_xvfb() {
  local size=$1 noreset=-noreset; shift
  [ "${1:-}" = reset ] && { noreset=""; shift; }
  Xvfb "$@" -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -br $noreset 3>"$rg_work/display" >"$rg_work/xvfb.log" 2>&1 &
  rg_xvfb=$!
  rg_until 20 test -s "$rg_work/display" || rg_fail "Xvfb $* did not start: $(tail -3 "$rg_work/xvfb.log")"
  export DISPLAY=":$(head -1 "$rg_work/display")"
}

# rg_folder [FULLSCREEN [FOLDER]]: a game folder (ZR_GAME_DIR) copied to rg_work/game, with
# data/fullscreen.stt written: 0 full screen, 1 (by default) windowed.
rg_folder() {
  rm -rf "$rg_work/game" && cp -r "${2:-$ZR_GAME_DIR}" "$rg_work/game" || rg_fail "no game folder ${2:-$ZR_GAME_DIR}"
  printf "\\${1:-1}" >"$rg_work/game/data/fullscreen.stt"
}

# rg_start [NAME=VALUE | -u NAME]...: starts the game (rg_work/game/zindorumba, or RG_EXE) on
# DISPLAY, with no Wayland display or video driver from the calling environment; its output
# goes to rg_work/game.log, its pid in rg_game, the time in rg_started (ms).
rg_start() {
  rg_started=$(rg_ms)
  (cd "$rg_work/game" 2>/dev/null; exec env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$@" "${RG_EXE:-./zindorumba}") \
    >"$rg_work/game.log" 2>&1 </dev/null &
  rg_game=$!
}

# rg_look TITLE [X Y]...: the shown window with this title: rg_win (its id), rg_size (WxH),
# rg_lit (1 when it shows a picture), rg_colours (at the points given). False when none.
rg_look() {
  local out
  out=$("$ZR_XWIN" "$@" 2>/dev/null) && read -r rg_win rg_size rg_lit rg_colours <<<"$out"
}
rg_drawn() { rg_look "$1" && [ "$rg_lit" = 1 ]; }
# rg_wait what COMMAND...: rg_until RG_PATIENCE, else fails: no WHAT (or: the game ended).
rg_wait() {
  local what=$1; shift
  rg_until "$RG_PATIENCE" "$@" && return
  if [ -n "$rg_game" ] && rg_gone; then rg_fail "no $what: the game ended"; fi
  rg_fail "no $what within $RG_PATIENCE s"
}
rg_key() { xdotool key --delay 40 "$@"; }  # each key held 20 ms

# rg_menu [ENV...]: starts the game, answers the welcome dialog's Play (Return) as soon as it
# shows its picture, and waits for the main menu's picture in the game window.
rg_menu() {
  rg_start "$@"
  rg_wait "welcome dialog" rg_drawn "Welcome to ZindoRumba !"
  rg_key Return
  rg_wait "main menu" rg_drawn ZindoRumba
}

# rg_gone: the game has ended (a zombie or reaped). rg_end [SECONDS]: waits for the end
# (RG_PATIENCE); rg_exit is its exit code. False when it had to be killed (rg_why: where its
# threads were).
rg_gone() { local s=""; read -r _ _ s _ 2>/dev/null <"/proc/$rg_game/stat"; [ "${s:-Z}" = Z ]; }
rg_end() {
  local ended=0
  rg_until "${1:-$RG_PATIENCE}" rg_gone || {
    ended=1 rg_why="the game did not end; its threads' system calls: $(cut -d' ' -f1 /proc/"$rg_game"/task/*/syscall | xargs)"
    kill -9 "$rg_game"
  }
  wait "$rg_game" 2>/dev/null; rg_exit=$? rg_game=""
  return $ended
}

# OpenGL, EGL, GLES and Mesa libraries the game has mapped (libGL, libGLX, libGLdispatch,
# libGLESv2, libEGL, libOpenGL, the Mesa drivers and the LLVM they compile shaders with).
rg_gl() {
  sed -n 's|.*/||p' "/proc/$rg_game/maps" | grep -E '^(libGL|libEGL|libOpenGL|libglapi|libgallium|libLLVM)|_dri\.so' |
    sort -u | tr '\n' ' '
}
# rg_still: the main thread stays in a blocking wait for events (poll, ppoll, select or
# pselect6, not the frame pacing's short sleep) at ten looks in a row, 20 ms apart.
rg_still() {
  local waits call row=0 seen=""
  waits=" $(printf '#include <sys/syscall.h>\nSYS_poll SYS_ppoll SYS_select SYS_pselect6\n' | cpp -P | xargs) "
  for _ in $(seq $((RG_PATIENCE * 50))); do
    read -r call _ <"/proc/$rg_game/syscall"
    seen+="$call "
    [[ $waits == *" $call "* ]] && row=$((row + 1)) || row=0
    [ $row -ge 10 ] && return
    sleep 0.02
  done
  rg_fail "the game did not stand still; its main thread's system calls: $seen"
}
rg_cpu_ms() { cat /proc/"$rg_game"/task/*/schedstat | awk '{ ns += $1 } END { printf "%.1f", ns / 1e6 }'; }
rg_median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2 }'; }

# rg_starts COUNT: COUNT starts in a row on an Xvfb of their own that resets when its last
# client leaves, each through the dialog's Play to the game window, then ended by SIGTERM.
# Every look at the server (zr-xwin, xdotool) is a client that connects and leaves, as a
# player's one-shot key tool is: each start follows the last one's end at once and may meet
# the server resetting, and a game that lets go of the display between its dialog and its
# window finds it resetting. Prints the failures and the medians; false when any failed.
rg_starts() {
  local i failed=0 begin term; begin=$(rg_ms)
  : >"$rg_work/to-window"; : >"$rg_work/to-end"
  rg_xvfb 1024x768 reset
  for ((i = 1; i <= $1; i++)); do
    # (Under AddressSanitizer the leak check at each end would take most of the time.)
    rg_start ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
    if ! (rg_wait "welcome dialog" rg_drawn "Welcome to ZindoRumba !" && rg_key Return &&
          rg_wait "game window within $RG_PATIENCE s of Play" rg_look ZindoRumba); then
      echo "start $i failed" >&2; failed=$((failed + 1)); kill -9 "$rg_game"; rg_end; continue
    fi
    echo $(($(rg_ms) - rg_started)) >>"$rg_work/to-window"
    term=$(rg_ms); kill -TERM "$rg_game"
    rg_end || { echo "start $i: SIGTERM: $rg_why" >&2; failed=$((failed + 1)); continue; }
    echo $(($(rg_ms) - term)) >>"$rg_work/to-end"
    [ "$rg_exit" = 0 ] || { echo "start $i: exit $rg_exit" >&2; tail -c 600 "$rg_work/game.log" >&2; failed=$((failed + 1)); }
  done
  echo "$1 starts, $failed failed, in $((($(rg_ms) - begin) / 1000)) s; medians: exec to game window" \
    "$(rg_median <"$rg_work/to-window") ms, SIGTERM to end $(rg_median <"$rg_work/to-end") ms"
  [ $failed = 0 ]
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  rg_xvfb "$1"; shift; "$@"
fi
