#!/usr/bin/env bash
# Levels of a player's own on the replay driver, against a copy of the game folder: a good
# folder (a map and a source in the order of its list), one level alone, a bad folder, an
# empty one, a short map, the levels of the player's data folder. Prints each run's output and exit code and the save files written.
#   run.sh ZINDO_REPLAY GAME_FOLDER
set -u
here=$(cd "$(dirname "$0")" && pwd)
replay=$1
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
cp -r "$2" "$t/root"
rm -f "$t/root"/*.raw
cp -r "$here/good" "$here/bad" "$t/"
cp "$2/data/levels/maps/level03.map" "$t/good/island.map"
mkdir "$t/empty"
head -c 100 "$t/good/island.map" >"$t/short.map"
run() {
  echo "== $*" | sed "s|$t/||g; s|$here/||g"
  "$replay" --root "$t/root" "$@" 2>&1 | sed "s|$t/||g; s| rand=[0-9]*||"
  echo "exit ${PIPESTATUS[0]}"
}
run --script "$here/play.script" --levels "$t/good"
run --script "$here/alone.script" --level "$t/good/hut.txt"
run --script "$here/play.script" --levels "$t/bad"
run --script "$here/play.script" --levels "$t/empty"
run --script "$here/play.script" --level "$t/short.map"
mkdir -p "$t/xdg/zindorumba/levels"
cp "$here/good/hut.txt" "$t/xdg/zindorumba/levels/"
XDG_DATA_HOME="$t/xdg" run --script "$here/play.script" --my-levels
echo "== saved"
(cd "$t/root" && ls *.raw)
