#!/usr/bin/env bash
# The real game under Xvfb playing the attract mode's demonstration: the CPU of the game's
# process (all its threads, user + system) over the demonstration, as a share of one core,
# and its peak resident memory (VmHWM).
#
#   bench/game/demo_cpu.sh [GAME_FOLDER]      (default build/game; needs Xvfb and xdotool)
#
# The game folder is copied to a temporary folder first, so the files the game writes
# beside itself stay out of the build. Return answers the welcome dialog (a window, no
# gamepad); the pointer is then left alone: after 8 s the menu starts the demonstration,
# which plays 2125 frames (about 30 s). The CPU is measured from 2 s into the demonstration
# for 25 s.
#
# The game keeps its window surface off OpenGL itself (no GL library in a window), so no
# environment is needed; SDL_FRAMEBUFFER_ACCELERATION given to the script is passed on.
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
game="${1:-$here/build/game}"
[ -x "$game/zindorumba" ] || { echo "demo_cpu: no game in $game (make build first)"; exit 2; }
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || { echo "demo_cpu: needs Xvfb and xdotool"; exit 2; }

work="$(mktemp -d)"
xvfb_pid="" game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$game" "$work/game"
rm -f "$work/game"/{al.raw,highscores.raw,prefvol.raw} "$work/game/data"/*.stt

# A display number nobody uses.
d=90
while [ -e "/tmp/.X11-unix/X$d" ] || [ -e "/tmp/.X$d-lock" ]; do d=$((d + 1)); done
Xvfb ":$d" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$d" ] && break; sleep 0.1; done
export DISPLAY=":$d"

(cd "$work/game" && exec ./zindorumba) >"$work/game.log" 2>&1 &
game_pid=$!

# Answer the welcome dialog once it is there, then wait for the game's window.
wait_window() {
  for _ in $(seq 200); do
    xdotool search --name "$1" >/dev/null 2>&1 && return 0
    kill -0 "$game_pid" 2>/dev/null || { echo "demo_cpu: the game ended"; cat "$work/game.log"; exit 1; }
    sleep 0.1
  done
  echo "demo_cpu: no window '$1'"; exit 1
}
wait_window '^Welcome to ZindoRumba !$'
sleep 0.5
xdotool key Return
wait_window '^ZindoRumba$'
menu_at=$(date +%s.%N)

ticks() { awk '{print $14 + $15}' "/proc/$game_pid/stat"; }
hz=$(getconf CLK_TCK)
# The menu waits 8 s, the doors take 0.9 s; measure from 10 s on.
calc() { awk "BEGIN { printf \"$1\", $2 }"; }
sleep "$(calc %.3f "$menu_at + 10 - $(date +%s.%N)")"
t0=$(date +%s.%N); c0=$(ticks)
sleep 25
t1=$(date +%s.%N); c1=$(ticks)
hwm=$(awk '/VmHWM/ {print $2}' "/proc/$game_pid/status")
echo "demonstration: $(calc %.2f "100 * ($c1 - $c0) / $hz / ($t1 - $t0)") % of one core over $(calc %.1f "$t1 - $t0") s"
echo "peak RSS: $(calc %.1f "$hwm / 1024") MiB${SDL_FRAMEBUFFER_ACCELERATION:+ (SDL_FRAMEBUFFER_ACCELERATION=$SDL_FRAMEBUFFER_ACCELERATION)}"
echo "the game said: $(tr '\n' ' ' <"$work/game.log")"
