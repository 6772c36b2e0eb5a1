#!/usr/bin/env bash
# realgame-test.sh NAME: the real game started as a player starts it (a copy of the build's
# game folder), on an Xvfb of the test's own, answered and closed through the X server
# (tools/testkit/realgame.sh); each NAME is the ctest RealGame.NAME. Exit status 0: passed.
set -u
. "$(dirname "$0")/../../tools/testkit/realgame.sh"
rg_folder
sized() { rg_look ZindoRumba && [ "$rg_size" = "$1" ]; }
choice() { [ "$(od -An -tu1 "$rg_work/game/data/fullscreen.stt" | xargs)" = "$1" ]; }
focused() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
no_gl() { [ -z "$(rg_gl)" ] || rg_fail "OpenGL libraries loaded $1: $(rg_gl)"; }

case $1 in
GameWindowAppearsAfterPlayOnEveryStart)
  # The welcome dialog once went missing in a few starts of thirty. ZR_STARTS asks for more
  # (the stress run of a hundred is a measurement: bench/startup/startup.sh --starts 100).
  rg_starts $((${ZR_STARTS:-30} > 30 ? ZR_STARTS : 30)) ;;

WithoutAScreenTheGameSaysWhyAndEnds)
  # No display at all: SDL's fallback drivers have no screen, and the game must not run on
  # unseen. The reason, once, and nothing after it.
  rg_start -u DISPLAY
  rg_end 20 || rg_fail "without a display: $rg_why"
  [ "$(grep -c 'Impossible to open the window: SDL ' "$rg_work/game.log")" = 1 ] || rg_fail "not said once why"
  ! grep -q 'No BackBuffer' "$rg_work/game.log" || rg_fail "No BackBuffer after the reason"
  [ "$rg_exit" = 0 ] || rg_fail "exit $rg_exit" ;;

EveryWayOutOfTheBackgroundClosesTheSoundDeviceFirst)
  # While another window has the focus the game stands still, but a close request (a
  # taskbar's Close) and SIGTERM (a logout) still end it, each stopping the music and closing
  # the sound device before the program's globals are destroyed: audio_probe.c, preloaded,
  # counts (SDL's dummy sound driver mixes without a sound card).
  rg_xvfb 1024x768
  for way in SIGTERM close; do
    rg_menu SDL_AUDIODRIVER=dummy LD_PRELOAD="$ZR_AUDIO_PROBE_LIB" ZR_AUDIO_PROBE="$rg_work/audio.txt" \
      ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
    no_gl "in a window"
    rg_wait "focus in the game window" focused "$rg_win"
    xmessage -title "another program" "another program" >/dev/null 2>&1 &
    rg_other=$!
    rg_wait "other program's window" rg_look "another program"
    timeout 5 xdotool windowfocus --sync "$rg_win" || rg_fail "another window could not take the focus"
    rg_still
    if [ $way = close ]; then "$ZR_XWIN" ZindoRumba close; else kill -TERM "$rg_game"; fi
    rg_end || rg_fail "$way in the background: $rg_why"
    [ "$rg_exit" = 0 ] || rg_fail "$way in the background: exit $rg_exit"
    [ "$(cat "$rg_work/audio.txt")" = "opened=1 closed=1" ] || rg_fail "$way: $(cat "$rg_work/audio.txt")"
    kill "$rg_other"; wait "$rg_other"; rm "$rg_work/audio.txt"
  done ;;

SwitchesModeAndKeepsTheChoice)
  # F11 and Alt+Enter switch between the window (1x fits 1024 x 768) and the full screen,
  # with no OpenGL library in either, the choice kept for the next start as the dialog keeps it.
  rg_xvfb 1024x768
  rg_menu
  rg_wait "800x600 window" sized 800x600
  no_gl "in a window"
  rg_key F11
  rg_wait "full screen" sized 1024x768
  rg_wait "full screen kept" choice 0
  no_gl "full screen"
  rg_key alt+Return
  rg_wait "window again" sized 800x600
  rg_wait "window kept" choice 1
  ! rg_gone || rg_fail "the game ended" ;;

ADisplayThatAnswersLateStillShowsTheDialog)
  # A display that is named but does not answer yet (an X server still starting, or one
  # resetting after its last client left) is waited for: the dialog shows there instead of
  # being skipped as one that cannot be shown, which would play at once.
  n=$((300 + RANDOM % 9000))  # (other programs look for free numbers from 0 up)
  while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  rg_start DISPLAY=:$n
  sleep 0.3
  rg_xvfb 1024x768 :$n
  rg_wait "welcome dialog" rg_drawn "Welcome to ZindoRumba !" ;;

*) echo "realgame-test.sh: no test $1" >&2; exit 2 ;;
esac
