#!/usr/bin/env bash
# package-test.sh BUILD_DIR VERSION RELEASE_DATE ZINDO_REPLAY (the ctest PackageTest): make
# package's script writes the .deb into a temporary folder and dpkg-deb -x unpacks it into a
# temporary root. Its fields, files and checks (lintian, appstreamcli, desktop-file-validate),
# the command line, uninstall's scripts on its file list; then the unpacked install made
# read-only (a read-only bind mount in a mount namespace of the run's own) and played with a
# player's folder of its own (XDG_DATA_HOME): the options and a high score are saved there and
# read back on the next start, the install left as it was; and the real game started from it
# to the main menu under an Xvfb of its own (tools/testkit/realgame.sh).
set -u
[ $# = 4 ] || { echo "usage: package-test.sh BUILD_DIR VERSION RELEASE_DATE ZINDO_REPLAY" >&2; exit 2; }
build=$1 version=$2 replay=$4
src=$(cd "$(dirname "$0")/../.." && pwd)
RG_PATIENCE=10
. "$src/tools/testkit/realgame.sh"
stage=$rg_work/stage usr=$rg_work/stage/usr xdg=$rg_work/xdg
failed=0
# expect WHAT GOT WANTED: notes a failure (and goes on) when GOT is not WANTED.
expect() { [ "$2" = "$3" ] || { printf 'FAILED: %s\n  got:    %s\n  wanted: %s\n' "$1" "$2" "$3" >&2; failed=1; }; }
ok() { local what=$1; shift; "$@" >"$rg_work/out" 2>&1 || { echo "FAILED: $what" >&2; cat "$rg_work/out" >&2; failed=1; }; }
hex() { od -An -tx1 "$@" 2>/dev/null | tr -d ' \n'; }

deb=$("$src/tools/package/make-deb.sh" "$build" "$version" "$3" "$rg_work/debs" | head -1)
dpkg-deb -x "$deb" "$stage" || rg_fail "make-deb.sh made no package"

# The fields; Depends come from the linked libraries.
expect Version "$(dpkg-deb -f "$deb" Version)" "$version"
expect Section "$(dpkg-deb -f "$deb" Section)" games
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libsdl2-2.0-0 libsdl2-image-2.0-0 libvorbisfile3; do
  [[ $depends == *"$lib ("* ]] || expect "Depends on $lib" "$depends" "$lib (...)"
done
ok "lintian finds no error" lintian --fail-on error "$deb"
! grep -v 'root privileges' "$rg_work/out" | grep -q '^E: ' || { echo "FAILED: lintian:" >&2; cat "$rg_work/out" >&2; failed=1; }
ok "the metainfo" appstreamcli validate --no-net "$usr/share/metainfo/io.github.zindorumba.zindorumba.metainfo.xml"
ok "the menu entry" desktop-file-validate "$usr/share/applications/zindorumba.desktop"

# The executable in games/, its data under share/games/zindorumba, nothing a game writes.
ok "an executable game" test -x "$usr/games/zindorumba"
for f in zindo.ini data/general/dialog.bmp data/help/english/index.html data/levels/maps/level01.map \
  data/audio/gov.ogg screenshot.png; do ok "$f" test -f "$usr/share/games/zindorumba/$f"; done
for f in man/man6/zindorumba.6.gz doc/zindorumba/copyright icons/hicolor/scalable/apps/zindorumba.svg; do
  ok "$f" test -f "$usr/share/$f"
done
expect "files a game writes" "$(cd "$stage" && find . | grep -E '\.raw|\.stt|\.new|/data/icons')" ""
expect "the icon's <svg" "$(tail -c +40 "$usr/share/icons/hicolor/scalable/apps/zindorumba.svg" | head -c 4)" "<svg"
entry() { sed -n '/^\[Desktop Entry\]/,/^\[/ s/^'"$1"'=//p' "$usr/share/applications/zindorumba.desktop"; }
expect Name "$(entry Name)" ZindoRumba
expect Categories "$(entry Categories)" "Game;ArcadeGame;"
expect Exec "$(entry Exec)" /usr/games/zindorumba
# The icon is found by its name in the theme, at each size it is drawn at: a PNG of that
# width, colour with alpha.
for size in 48 128 256; do
  png=$usr/share/icons/hicolor/${size}x$size/apps/$(entry Icon).png
  expect "the ${size}px icon" "$(hex -N8 "$png") $(hex -j16 -N4 "$png") $(hex -j25 -N1 "$png")" \
    "89504e470d0a1a0a $(printf %08x "$size") 06"
done

# The command line: help and version on standard output, a bad argument refused on standard
# error with exit status 2 and nothing on standard output.
expect --version "$("$usr/games/zindorumba" --version)" "zindorumba $version"
help=$("$usr/games/zindorumba" --help 2>/dev/null)
expect "--help's exit status" $? 0
expect --help "${help:0:17}" "Usage: zindorumba"
bad=$("$usr/games/zindorumba" --fast 2>&1 >/dev/null)
expect "--fast's exit status" $? 2
expect --fast "${bad%%$'\n'*}" "zindorumba: unknown option '--fast'"
expect "--fast's standard output" "$("$usr/games/zindorumba" --fast 2>/dev/null)" ""

# make uninstall's scripts on a list like the one make install leaves, with the folders the
# install made, found from those there before (the stage, and share/applications that holds
# another program's entry): every file and those folders go, no folder that was there before.
copy=$rg_work/copy
cp -a "$stage" "$copy"
(cd "$copy" && find . ! -type d | sed 's/^\.//') >"$rg_work/manifest.txt"  # as installed: no DESTDIR
listed=$(wc -l <"$rg_work/manifest.txt")
[ "$listed" -gt 50 ] || expect "files listed" "$listed" "more than 50"
printf '%s\n' "$copy" "$copy/usr/share/applications" >"$rg_work/before.txt"
lists=(-DMANIFEST="$rg_work/manifest.txt" -DFOLDERS="$rg_work/folders.txt" -DDESTDIR="$copy")
expect "install-folders.cmake" "$(cmake "${lists[@]}" -DBEFORE="$rg_work/before.txt" -P "$src/tools/install-folders.cmake" 2>&1)" ""
echo "[Desktop Entry]" >"$copy/usr/share/applications/other.desktop"
ok "uninstall.cmake" cmake "${lists[@]}" -P "$src/tools/uninstall.cmake"
grep -q "uninstalled $listed of the $listed" "$rg_work/out" || expect "uninstall.cmake says" "$(cat "$rg_work/out")" "uninstalled $listed of the $listed ..."
expect "left after uninstall" "$(cd "$copy" && find . -mindepth 1 | sort | xargs)" \
  "./usr ./usr/share ./usr/share/applications ./usr/share/applications/other.desktop"
# Without a list there is nothing to go by: it says so and fails.
! cmake -DMANIFEST="$rg_work/none.txt" -P "$src/tools/uninstall.cmake" >"$rg_work/out" 2>&1 &&
  grep -q "not found" "$rg_work/out" || expect "uninstall without a list" "$(cat "$rg_work/out")" "... not found (failed)"

# run SCRIPT [ARGS...]: zindo-replay plays the script on the installed game, made read-only to
# everyone (root included), the player's folder under xdg.
run() {
  printf '%s' "$1" >"$rg_work/script.txt"
  shift
  XDG_DATA_HOME=$xdg unshare --mount sh -c 'mount --make-rprivate / && mount --bind "$0" "$0" &&
    mount -o remount,bind,ro "$0" && exec "$@"' "$stage" "$replay" --root "$usr/games" \
    --script "$rg_work/script.txt" --max-time 60000 "$@" >"$rg_work/out" 2>&1 || expect "zindo-replay" "$(cat "$rg_work/out")" "exit 0"
  ! grep -q 'box:' "$rg_work/out" || expect "no box" "$(cat "$rg_work/out")" "no box"
}
saved() { hex "$xdg/zindorumba/$1"; }
# The high-score table: a line NAME SCORE for each 260-byte record.
table() {
  local f=$xdg/zindorumba/highscores.raw i
  for ((i = 0; i < $(stat -c %s "$f") / 260; i++)); do
    echo "$(tail -c +$((i * 260 + 1)) "$f" | head -c 256 | tr '\0' '\n' | head -1) $(od -An -td4 -j$((i * 260 + 256)) -N4 "$f" | xargs)"
  done
}
listing() { (cd "$stage" && find . -printf '%p %s %l\n' | sort); }
# The options screen: music down one step, then Back (which saves the volumes); then Quit.
music_down='f3 mouse 400 400
f5 down
t300 up
t500 mouse 494 178
t600 click 494 178
t1300 mouse 396 507
t1400 down
t1600 up
t2200 close
'
if ! unshare --mount true 2>/dev/null; then
  echo "skipped the read-only install: no mount namespace here (unshare)"
else
  before=$(listing)
  run "dialog play fullscreen=1 gamepad=1
$music_down"
  expect "the volumes saved" "$(saved prefvol.raw)" 0500000007000000  # effects 5, music 8 - 1
  expect "full screen ticked" "$(saved data/fullscreen.stt)" 00
  expect "the gamepad ticked" "$(saved data/gamepad.stt)" 01
  # A name on the high-score screen, saved with Return.
  run $'f40 mouse 700 100\nt1000 tap Z\nt1200 tap R\nt1400 tap RETURN\n' --screen highscores:5000
  expect "the new score" "$(table | head -1)" "ZR 5000"
  # The next start reads them from there: the music goes down from 7, the boxes start as
  # saved (Play without answers keeps them), and the table still holds ZR above a new name.
  run "dialog play
$music_down"
  expect "the volumes read back" "$(saved prefvol.raw)" 0500000006000000
  expect "full screen kept" "$(saved data/fullscreen.stt)" 00
  expect "the gamepad kept" "$(saved data/gamepad.stt)" 01
  run $'f40 mouse 700 100\nt1000 tap Q\nt1400 tap RETURN\n' --screen highscores:4000
  expect "the table read back" "$(table | head -2 | xargs) $(table | wc -l)" "ZR 5000 Q 4000 9"
  # The install is as it was, and nothing but the game's saved files is in the player's folder.
  expect "the install after play" "$(listing)" "$before"
  expect "other files in the player's folder" "$(cd "$xdg" && find . -type f |
    grep -vxE './zindorumba/(prefvol.raw|al.raw|highscores.raw|data/fullscreen.stt|data/gamepad.stt)')" ""
fi

# The real game, started from the unpacked package on a display of its own, to the main menu:
# Play in the welcome dialog, then the menu drawn in the game window. The dialog's choices
# land in the player's folder, not in the install.
rm -rf "$xdg"
rg_xvfb 1024x768
RG_EXE=$usr/games/zindorumba rg_menu XDG_DATA_HOME="$xdg" ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
kill -TERM "$rg_game"
rg_end || rg_fail "SIGTERM: $rg_why"
expect "the game's exit after SIGTERM" "$rg_exit" 0
expect "the dialog's choice in the player's folder" "$(saved data/fullscreen.stt)" 01
expect "the install's data after the game" "$(ls "$usr/share/games/zindorumba/data/fullscreen.stt" "$usr/games/data" 2>&1 | grep -vc 'No such')" 0
exit $failed
