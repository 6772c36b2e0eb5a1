#!/usr/bin/env bash
# The data generator over the whole game folder (it checks each file as it writes it): a run
# of its own writes the same bytes as the build's run did, every data file the game and the
# engine name is among them, and an output folder that cannot be made is a failure. Prints
# each fault; the exit code is 1 when there is any.
#   check-tree.sh ZINDO_MKDATA GAME_FOLDER SOURCE_ROOT
set -u
mkdata=$1 game=$2 src=$3
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
{
  "$mkdata" "$t/game" || echo "zindo-mkdata failed"
  (cd "$t/game" && find . -type f) | while read -r f; do cmp -s "$t/game/$f" "$game/$f" || echo "$f: not the build's bytes"; done
  grep -rhoE '"data(\\\\[A-Za-z0-9_.]+)+"' "$src/game" "$src/engine" | tr -d '"' | sed 's|\\\\|/|g' | grep -v '\.stt$' |
    sort -u | while read -r f; do [ -f "$t/game/$f" ] || echo "$f: named by the game, not made"; done
  touch "$t/file"
  "$mkdata" "$t/file" pictures levels 2>/dev/null && echo "writing into a file did not fail"
} | tee "$t/faults"
[ ! -s "$t/faults" ]
