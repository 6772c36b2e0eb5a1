#!/usr/bin/env bash
# bench/startup/startup.sh [--runs N] [--settle MS] [GAME_FOLDER]: the real game's start-up
# under an Xvfb of its own, N runs (5) windowed and N full screen, each run's figures and their
# medians (README.md says which). bench/startup/startup.sh --starts N [GAME_FOLDER]: N starts in
# a row against an Xvfb that resets when its last client leaves (the real-game test's thirty as
# a stress run), the failures, the time and the medians. GAME_FOLDER: build/game by default.
set -u
runs=5 settle=1000 starts=0
while [ $# -gt 0 ]; do
  case $1 in
  --runs | --settle | --starts) declare "${1#--}=$2"; shift 2 ;;
  -*) echo "usage: startup.sh [--runs N] [--settle MS] [--starts N] [GAME_FOLDER]" >&2; exit 2 ;;
  *) ZR_GAME_DIR=$1; shift ;;
  esac
done
. "$(dirname "$0")/../../tools/testkit/realgame.sh"
RG_PATIENCE=10
rg_folder
[ "$starts" = 0 ] || { rg_starts "$starts"; exit; }
rg_xvfb 1024x768
echo "game folder $ZR_GAME_DIR, Xvfb $DISPLAY 1024x768x24, $runs runs per mode"
for mode in windowed "full screen"; do
  rg_folder "$([ "$mode" = windowed ] && echo 1 || echo 0)"
  : >"$rg_work/figures"
  for ((i = 1; i <= runs; i++)); do
    rg_start
    rg_wait "welcome dialog" rg_drawn "Welcome to ZindoRumba !"
    dialog=$(($(rg_ms) - rg_started)) cpu=$(rg_cpu_ms) play=$(rg_ms)
    rg_key Return &
    rg_wait "game window" rg_look ZindoRumba
    window=$(($(rg_ms) - play))
    rg_wait "main menu" rg_drawn ZindoRumba
    menu=$(($(rg_ms) - play))
    sleep "$((settle / 1000)).$(printf %03d $((settle % 1000)))"
    rss=$(awk '/VmHWM/ { printf "%.1f", $2 / 1024 }' "/proc/$rg_game/status") gl=$(rg_gl)
    term=$(rg_ms)
    kill -TERM "$rg_game"
    rg_end || rg_fail "SIGTERM: $rg_why"
    quit=$(($(rg_ms) - term))
    echo "$dialog $cpu $window $menu $rss $quit" >>"$rg_work/figures"
    printf '%-11s run %d: dialog %4d ms (cpu %5.1f ms)  window %4d ms  menu %4d ms  rss %5.1f MiB  quit %4d ms  GL: %s\n' \
      "$mode" "$i" "$dialog" "$cpu" "$window" "$menu" "$rss" "$quit" "${gl:-none}"
  done
  m() { cut -d' ' -f"$1" "$rg_work/figures" | rg_median; }
  echo "$mode median: exec->dialog $(m 1) ms (processor $(m 2) ms), Play->game window $(m 3) ms," \
    "Play->menu $(m 4) ms, peak RSS in the menu $(m 5) MiB, SIGTERM->end $(m 6) ms, OpenGL loaded: ${gl:-none}"
done
