#!/usr/bin/env bash
# The layering check (a ctest): every include of the C and C++ sources names its header by its
# path from the source root, and reaches only down the layers
#   platform < engine < game < tools < tests, bench
# and, inside them, down the folders' own order below. SDL headers are included only under
# platform/; game code never calls the platform (plat::) itself. Each violation is printed as
# FILE:LINE: what; the exit code is 1 when there is any.
#   tools/check-layers.sh [SOURCE_ROOT]
#   tools/check-layers.sh --self-test     # shows that each rule catches what it should
set -u

# Folder -> rank. An include may reach its own folder or a folder of a lower rank; folders of
# the same rank do not see each other. The first pattern that matches a file's path counts.
LAYERS='
platform/common/    1
platform/sdl/       2
platform/script/    2
platform/           0
engine/services/    10
engine/graphics/    11
engine/audio/       11
game/layout/        20
game/sound/         21
game/files/         22
game/ui/            23
game/rules/         24
game/scores/        25
game/endings/       25
game/playscreen/    26
game/menus/         27
game/startup/       28
tools/common/       30
tools/testkit/      30
tools/editor/       30
tools/mkdata/       31
tools/replay/       31
tools/              32
tests/support/      40
tests/              41
bench/              41
'

check() {
  local root=$1
  cd "$root" || exit 2
  local files
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files --cached --others --exclude-standard -- '*.c' '*.cc' '*.cpp' '*.h' | sort -u)
  else
    files=$(find . -type f \( -name '*.c' -o -name '*.cc' -o -name '*.cpp' -o -name '*.h' \) | sed 's|^\./||' | sort)
  fi
  local list
  list=$(for f in $files; do [ -f "$f" ] && echo "$f"; done)
  [ -n "$list" ] || { echo "check-layers: no sources under $root"; return 2; }
  # awk reads the layer table, then every source line by line.
  printf '%s\n' "$list" | xargs awk -v layers="$LAYERS" '
    function unit(path,   i) {
      for (i = 1; i <= n; i++) if (index(path, pat[i]) == 1) return pat[i]
      return ""
    }
    function unitkey(path, u,   rest) {
      # Folders under tests/ and bench/ are units of their own (tests/play, bench/flow ...).
      if (u == "tests/" || u == "bench/") { rest = substr(path, length(u) + 1); sub(/\/.*/, "", rest); return u rest "/" }
      return u
    }
    function fail(msg) { printf "%s:%d: %s\n", FILENAME, FNR, msg; bad = 1 }
    BEGIN {
      m = split(layers, l, "\n")
      for (i = 1; i <= m; i++) if (split(l[i], f, " ") == 2) { n++; pat[n] = f[1]; rank[f[1]] = f[2] }
    }
    FNR == 1 {
      u = unit(FILENAME); key = unitkey(FILENAME, u)
      if (u == "") printf "%s:1: this folder has no layer: add it to tools/check-layers.sh\n", FILENAME
      if (u == "") bad = 1
      incomment = 0
    }
    {
      line = $0
      # Block comments are skipped (a commented-out include or call is no dependency).
      if (incomment) { if (line ~ /\*\//) { sub(/.*\*\//, "", line); incomment = 0 } else next }
      if (line ~ /\/\*/ && line !~ /\*\//) { incomment = 1; sub(/\/\*.*/, "", line) }
      sub(/\/\/.*/, "", line)
    }
    line ~ /^[ \t]*#[ \t]*include[ \t]*</ && FILENAME !~ /^platform\// && line ~ /<SDL[^>]*>/ {
      fail("SDL header outside platform/: " line)
    }
    u ~ /^game\// && line ~ /(^|[^A-Za-z0-9_])plat::/ {
      fail("game code calls the platform directly (plat::); go through the engine")
    }
    line ~ /^[ \t]*#[ \t]*include[ \t]*"/ {
      inc = line; sub(/^[^"]*"/, "", inc); sub(/".*/, "", inc)
      if (system("test -f \"" inc "\"") != 0) { fail("include \"" inc "\" is not a path from the source root"); next }
      if (u == "") next
      v = unit(inc); vkey = unitkey(inc, v)
      if (v == "") { fail("include \"" inc "\": its folder has no layer"); next }
      if (vkey == key) next
      if (rank[v] + 0 >= rank[u] + 0)
        fail("include \"" inc "\" reaches " (rank[v] == rank[u] ? "sideways" : "up") ": " vkey " is not below " key)
    }
    END { exit bad }
  ' || return 1
}

self_test() {
  t=$(mktemp -d) || exit 2
  trap 'rm -rf "$t"' EXIT
  mkdir -p "$t/engine/services" "$t/engine/graphics" "$t/game/ui" "$t/game/rules" "$t/tests/a" "$t/bench/b" "$t/odd"
  touch "$t/engine/services/S.h" "$t/engine/graphics/G.h" "$t/game/rules/R.h" "$t/game/ui/U.h" "$t/tests/a/T.h"
  printf '#include "engine/services/S.h"\n#include "game/ui/U.h"\n' >"$t/engine/graphics/G.cpp"
  printf '#include "engine/graphics/G.h"\n// #include "game/rules/R.h"\n/* plat::Nap();\n */\n' >"$t/game/ui/U.cpp"
  printf '#include "U.h"\n#include <SDL.h>\n  plat::Nap();\n' >"$t/game/rules/R.cpp"
  printf '#include "tests/a/T.h"\n#include "engine/services/S.h"\n' >"$t/bench/b/B.cpp"
  printf 'int x;\n' >"$t/odd/O.cpp"
  local out expected
  out=$(check "$t" 2>&1)
  local code=$?
  expected='bench/b/B.cpp:1: include "tests/a/T.h" reaches sideways: tests/a/ is not below bench/b/
engine/graphics/G.cpp:2: include "game/ui/U.h" reaches up: game/ui/ is not below engine/graphics/
game/rules/R.cpp:1: include "U.h" is not a path from the source root
game/rules/R.cpp:2: SDL header outside platform/: #include <SDL.h>
game/rules/R.cpp:3: game code calls the platform directly (plat::); go through the engine
odd/O.cpp:1: this folder has no layer: add it to tools/check-layers.sh'
  if [ "$code" = 1 ] && [ "$(printf '%s\n' "$out" | sort)" = "$expected" ]; then
    echo "check-layers self-test: every rule caught its case, nothing else reported"
    return 0
  fi
  echo "check-layers self-test FAILED (exit $code); it reported:"
  printf '%s\n' "$out"
  echo "expected:"
  printf '%s\n' "$expected"
  return 1
}

if [ "${1:-}" = "--self-test" ]; then
  self_test
  exit $?
fi
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
if check "$root"; then
  echo "check-layers: every include goes down the layers, by its path from the source root"
  exit 0
fi
exit 1
