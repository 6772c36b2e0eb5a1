#!/usr/bin/env bash
# Keeps docs/quirks.md complete (a ctest): every "Kept as designed:" and "Mended:" marker in the
# sources has its row there (file, kind kept or mended), no row is left without its marker, and
# every test a row names exists. Problems are printed as FILE:LINE: what; exit code 1 then.
#   tools/check-quirks.sh [SOURCE_ROOT]
set -u
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2
doc=docs/quirks.md
[ -f "$doc" ] || { echo "$doc: missing"; exit 1; }

# Markers in the code: "FILE kept" / "FILE mended", one line per marker.
code=$(git ls-files --cached --others --exclude-standard -- '*.c' '*.cc' '*.cpp' '*.h' |
  while read -r f; do
    [ -f "$f" ] || continue
    k=$(grep -o 'Kept as designed:' "$f" | wc -l)
    m=$(grep -o 'Mended:' "$f" | wc -l)
    for _ in $(seq 1 "$k"); do echo "$f kept"; done
    for _ in $(seq 1 "$m"); do echo "$f mended"; done
  done | sort | uniq -c)
# Rows of the table: | file | kept or mended | what | tests |
rows=$(awk -F'|' 'NF >= 6 && $3 ~ /^ *(kept|mended) *$/ { f = $2; k = $3; gsub(/ /, "", f); gsub(/ /, "", k); print f, k }' "$doc" |
  sort | uniq -c)

bad=0
# Files whose counts differ, in either direction.
while read -r n f k; do
  have=$(printf '%s\n' "$rows" | awk -v f="$f" -v k="$k" '$2 == f && $3 == k { print $1 }')
  if [ "${have:-0}" != "$n" ]; then
    line=$(grep -n "Kept as designed:\|Mended:" "$f" | head -1 | cut -d: -f1)
    echo "$f:${line:-1}: $n '$k' marker(s) in the code, ${have:-0} row(s) in $doc"
    bad=1
  fi
done <<<"$code"
while read -r n f k; do
  [ -n "$f" ] || continue
  if ! printf '%s\n' "$code" | awk -v f="$f" -v k="$k" '$2 == f && $3 == k { found = 1 } END { exit !found }'; then
    line=$(grep -n "^| $f |" "$doc" | head -1 | cut -d: -f1)
    echo "$doc:${line:-1}: $n '$k' row(s) for $f, but no such marker there"
    bad=1
  fi
done <<<"$rows"

# Every test named in the last column exists (Suite.Name of a TEST, TEST_F or TEST_P).
# A scenario tests/scenarios/NAME.script is the test Scenario.NAME; zr_add_realgame(NAME) in
# tests/realgame/CMakeLists.txt the test RealGame.NAME.
tests=$( { grep -rhoE '^(TEST|TEST_F|TEST_P)\( *[A-Za-z0-9_]+, *[A-Za-z0-9_]+' tests | sed -E 's/^TEST(_F|_P)?\( *//; s/, */./'
  grep -hoE '^zr_add_realgame\([A-Za-z0-9_]+' tests/realgame/CMakeLists.txt | sed 's/^zr_add_realgame(/RealGame./'
  for s in tests/scenarios/*.script; do [ -f "$s" ] && basename "$s" .script | sed 's/^/Scenario./'; done; } | sort -u)
lineno=0
while IFS= read -r l; do
  lineno=$((lineno + 1))
  case "$l" in "| "*" | kept | "* | "| "*" | mended | "*) ;; *) continue ;; esac
  cell=$(printf '%s\n' "$l" | awk -F'|' '{ print $5 }')
  case "$cell" in " none"*) continue ;; esac
  names=$(printf '%s\n' "$cell" | grep -oE '[A-Z][A-Za-z0-9_]*\.[A-Za-z0-9_]+' || true)
  if [ -z "$names" ]; then
    echo "$doc:$lineno: no test named (write 'none: why' when none can pin it)"
    bad=1
  fi
  for t in $names; do
    if ! printf '%s\n' "$tests" | grep -qx "$t"; then
      echo "$doc:$lineno: no test $t under tests/"
      bad=1
    fi
  done
done <"$doc"

[ "$bad" = 0 ] && echo "check-quirks: every marker has its row in $doc and every test named exists"
exit "$bad"
