#!/usr/bin/env bash
# The level editor on the replay driver: build.script makes a level, run.sh prints what was
# saved (the source, the map's checksum) and plays the map in the game's own loader.
#   run.sh ZINDO_REPLAY GAME_FOLDER [SHOT_FOLDER]
set -u
here=$(cd "$(dirname "$0")" && pwd)
replay=$1
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
cp -r "$2" "$t/root"
sed "s|shot editor.png|shot ${3:-$t}/editor.png|" "$here/build.script" >"$t/build.script"
"$replay" --root "$t/root" --script "$t/build.script" --editor "$t/new.txt" | sed "s|$t/||g"
cat "$t/new.txt"
md5sum <"$t/new.map"
"$replay" --root "$t/root" --script "$here/../customlevels/alone.script" --level "$t/new.map" | grep -v frames
