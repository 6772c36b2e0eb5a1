#!/usr/bin/env bash
# The real game under Xvfb (1024 x 768), left alone as a player leaves it, in a window and full
# screen: the CPU of the game's process (all its threads, user + system) as a share of one core
# in the idle main menu and in the attract mode's demonstration, its peak resident memory
# (VmHWM) and the OpenGL libraries it loaded; beside them the plain-copy floor, one copy of the
# screen's 960,000 bytes a frame at the game's 71 frames a second (graphics_bench's MemcpyFloor).
#
#   bench/game/demo_cpu.sh [GAME_FOLDER...]     (default build/game; needs Xvfb and xdotool; the
#   game is driven through tools/testkit/realgame.sh, as the real-game tests drive it)
#
# Several folders (a build of another commit beside the same data, say) are measured one after
# the other in the same run, so that their figures share the machine's load. Each folder is
# copied to a temporary folder first, with data/fullscreen.stt written for the mode, so the
# files the game writes stay out of it. SDL's dummy sound driver (unless SDL_AUDIODRIVER is
# given) keeps the mixer running without a sound card. Return answers the welcome dialog once
# it shows its picture; the menu is measured from 1.5 s to 7.5 s after it shows, the
# demonstration (which starts after 8 idle seconds and plays about 30 s) from 10 s for 20 s.
set -u
here="$(cd "$(dirname "$0")/../.." && pwd)"
[ $# -gt 0 ] || set -- "$here/build/game"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "demo_cpu: needs Xvfb and xdotool"; exit 2; }
for g in "$@"; do [ -x "$g/zindorumba" ] || { echo "demo_cpu: no game in $g (make build first)"; exit 2; }; done
. "$here/tools/testkit/realgame.sh"
RG_PATIENCE=20

calc() { awk "BEGIN { printf \"$1\", $2 }"; }
hz=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "/proc/$rg_game/stat"; }
# CPU share of one core between now + from and now + to seconds after $1 (a date +%s.%N).
share() {
  sleep "$(calc %.3f "$1 + $2 - $(date +%s.%N)")"
  local t0 c0 t1 c1
  t0=$(date +%s.%N); c0=$(ticks)
  sleep "$(calc %.3f "$3 - $2")"
  t1=$(date +%s.%N); c1=$(ticks)
  calc %.2f "100 * ($c1 - $c0) / $hz / ($t1 - $t0)"
}

# One run: folder, mode (window|full screen).
run() {
  rg_folder "$([ "$2" = window ] && echo 1 || echo 0)" "$1"
  rg_start SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
  rg_wait "welcome dialog" rg_drawn "Welcome to ZindoRumba !"
  rg_key Return
  rg_wait "game window" rg_look ZindoRumba
  local at menu demo hwm gl
  at=$(date +%s.%N)
  menu=$(share "$at" 1.5 7.5)
  demo=$(share "$at" 10 30)
  hwm=$(awk '/VmHWM/ {print $2}' "/proc/$rg_game/status")
  gl=$(rg_gl)
  kill -TERM "$rg_game"
  rg_end
  printf '%-12s menu %6s %%  demonstration %6s %%  peak RSS %6s MiB  OpenGL: %s\n' "$2" "$menu" "$demo" \
    "$(calc %.1f "$hwm / 1024")" "${gl:-none}"
}

rg_xvfb 1024x768
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
