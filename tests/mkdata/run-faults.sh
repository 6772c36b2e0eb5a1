#!/usr/bin/env bash
# The cases of faults.txt, each a level file of its own, and a file of rubbish bytes, played
# by the replay driver alone (--level): prints what it says and its exit code.
#   run-faults.sh ZINDO_REPLAY
set -u
here=$(cd "$(dirname "$0")" && pwd)
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
awk -v dir="$t" '
  /^== / { n++; f = sprintf("%s/%02d-%s.txt", dir, n, $2); printf "%s", ($3 == "+" ? header : "") >f; next }
  !n && !/^#/ { header = header $0 "\n" }
  n { print >f }' "$here/faults.txt"
printf '\001\377\177 rubbish \000 bytes' >"$t/99-rubbish.txt"
for f in "$t"/*.txt; do
  "$1" --level "$f" 2>&1 | sed "s|$t/||"
  echo "exit ${PIPESTATUS[0]}"
done
