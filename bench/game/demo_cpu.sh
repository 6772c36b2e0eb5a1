#!/usr/bin/env bash
# The real game under Xvfb (1024 x 768), left alone as a player leaves it, in a window and full
# screen: the CPU of the game's process (all its threads, user + system) as a share of one core
# in the idle main menu and in the attract mode's demonstration, its peak resident memory
# (VmHWM) and the OpenGL libraries it loaded; beside them the plain-copy floor, one copy of the
# screen's 960,000 bytes a frame at the game's 71 frames a second (graphics_bench's MemcpyFloor).
#
#   bench/game/demo_cpu.sh [GAME_FOLDER...]     (default build/game; needs Xvfb and xdotool)
#
# Several folders (a build of another commit beside the same data, say) are measured one after
# the other in the same run, so that their figures share the machine's load. Each folder is
# copied to a temporary folder first, with data/fullscreen.stt written for the mode, so the
# files the game writes stay out of it. SDL's dummy sound driver (unless SDL_AUDIODRIVER is
# given) keeps the mixer running without a sound card. Return answers the welcome dialog; the
# menu is measured from 1.5 s to 7.5 s after it shows, the demonstration (which starts after
# 8 idle seconds and plays about 30 s) from 10 s for 20 s.
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
[ $# -gt 0 ] || set -- "$here/build/game"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "demo_cpu: needs Xvfb and xdotool"; exit 2; }
for g in "$@"; do [ -x "$g/zindorumba" ] || { echo "demo_cpu: no game in $g (make build first)"; exit 2; }; done

work="$(mktemp -d)"
xvfb_pid="" game_pid=""
stop() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null || true
  game_pid="" xvfb_pid=""
}
trap 'stop; rm -rf "$work"' EXIT

calc() { awk "BEGIN { printf \"$1\", $2 }"; }
hz=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "/proc/$game_pid/stat"; }
# CPU share of one core between now + from and now + to seconds after $1 (a date +%s.%N).
share() {
  sleep "$(calc %.3f "$1 + $2 - $(date +%s.%N)")"
  local t0 c0 t1 c1
  t0=$(date +%s.%N); c0=$(ticks)
  sleep "$(calc %.3f "$3 - $2")"
  t1=$(date +%s.%N); c1=$(ticks)
  calc %.2f "100 * ($c1 - $c0) / $hz / ($t1 - $t0)"
}
wait_window() {
  for _ in $(seq 200); do
    xdotool search --name "$1" >/dev/null 2>&1 && return 0
    kill -0 "$game_pid" 2>/dev/null || { echo "demo_cpu: the game ended"; cat "$work/game.log"; exit 1; }
    sleep 0.1
  done
  echo "demo_cpu: no window '$1'"; exit 1
}

# One run: folder, mode (window|full screen).
run() {
  rm -rf "$work/game"
  cp -r "$1" "$work/game"
  mkdir -p "$work/game/data"
  if [ "$2" = window ]; then printf '\001' >"$work/game/data/fullscreen.stt"; else printf '\000' >"$work/game/data/fullscreen.stt"; fi
  exec 3>"$work/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -1 "$work/display")"
  (cd "$work/game" && SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" exec ./zindorumba) >"$work/game.log" 2>&1 &
  game_pid=$!
  wait_window '^Welcome to ZindoRumba !$'
  sleep 0.5
  xdotool key Return
  wait_window '^ZindoRumba$'
  local at menu demo hwm gl
  at=$(date +%s.%N)
  menu=$(share "$at" 1.5 7.5)
  demo=$(share "$at" 10 30)
  hwm=$(awk '/VmHWM/ {print $2}' "/proc/$game_pid/status")
  gl=$( (grep -oE '/[^ ]*(libGL|libEGL|libGLES|_dri\.so|libLLVM)[^ /]*$' "/proc/$game_pid/maps" || true) | sed 's|.*/||' | sort -u | tr '\n' ' ')
  stop
  printf '%-12s menu %6s %%  demonstration %6s %%  peak RSS %6s MiB  OpenGL: %s\n' "$2" "$menu" "$demo" \
    "$(calc %.1f "$hwm / 1024")" "${gl:-none}"
}

bench="$here/build/obj/bench/graphics/graphics_bench"
if [ -x "$bench" ]; then
  ns=$("$bench" --benchmark_filter='^MemcpyFloor$' --benchmark_format=csv 2>/dev/null | awk -F, '/MemcpyFloor/ {print $4}')
  echo "plain-copy floor: $(calc %.2f "$ns / 140000") % of one core (one 960,000-byte copy in $(calc %.1f "$ns / 1000") us, 71 a second)"
fi
for g in "$@"; do
  echo "$g (CPU as a share of one core):"
  run "$g" window
  run "$g" "full screen"
done
