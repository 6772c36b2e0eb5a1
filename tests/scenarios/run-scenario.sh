#!/bin/bash
# One scenario: NAME.script played by zindo-replay on a copy of the game folder, its output
# compared as text with NAME.out. Lines of the script starting with "#!" prepare the folder
# and say what to show after the run (the replay driver takes them as comments):
#   #! args ARGS...        more arguments for zindo-replay (--trace 50 is always given)
#   #! write PATH HEX      a file of these bytes (hex digits, blanks ignored)
#   #! text PATH TEXT      a file of this text and a newline
#   #! remove PATH         files taken away (PATH may hold wildcards)
#   #! noise PATH N        a file of N bytes of rubbish
#   #! sed PATH EXPR       a file edited by sed
#   #! dump PATH           the file's bytes in hex after the run ("missing" when there is none)
#   #! sum FILE            the md5 sum of a screenshot the script took (shot FILE) after the run
# ZR_WRITE_SCENARIOS=1 writes NAME.out anew instead of comparing (README: Scenarios).
# usage: run-scenario.sh REPLAY GAME_DIR SCENARIO.script WORK_DIR
set -u
replay=$1 game=$2 scenario=$3 work=$4
expected=${scenario%.script}.out
rm -rf "$work" && mkdir -p "$work/root" || exit 1
root=$work/root
# The game's data as symbolic links (the game replaces files whole, so it never writes
# through them), without the files the game writes.
cp -rs "$(cd "$game" && pwd)/data" "$root/data" && cp "$game/zindo.ini" "$root/" || exit 1
rm -f "$root/data/fullscreen.stt" "$root/data/gamepad.stt"
args=(--trace 50) dumps=() sums=()
while read -r hash verb path rest; do
  [ "$hash" = "#!" ] || continue
  case $verb in
    args) args+=($path $rest) ;;
    write) rm -f "$root/$path"; printf '%s' "$rest" | tr -d ' ' | xxd -r -p >"$root/$path" ;;
    text) rm -f "$root/$path"; printf '%s\n' "$rest" >"$root/$path" ;;
    remove) rm -f "$root"/$path ;;
    noise) rm -f "$root/$path"; yes 'zr%&noise.#0x7f' | head -c "$rest" >"$root/$path" ;;
    sed) sed -i "$rest" "$root/$path" ;;
    dump) dumps+=("$path") ;;
    sum) sums+=("$path") ;;
    *) echo "$scenario: unknown line '#! $verb'"; exit 1 ;;
  esac
done <"$scenario"
actual=$work/actual.out
{
  # Played from a copy beside the folder: screenshots land there, not among the sources.
  cp "$scenario" "$work/" && (cd "$work" && "$replay" --root "$root" --script "$work/${scenario##*/}" "${args[@]}" 2>&1)
  echo "exit: $?"
  for f in "${dumps[@]}"; do
    # Runs of four zero bytes or more are written "[N x 00]".
    if [ -f "$root/$f" ]; then echo "$f: $(xxd -p -c1 "$root/$f" | tr '\n' ' ' | perl -pe 's/((?:00 ){4,})/"[".(length($1)\/3)." x 00] "/ge')"
    else echo "$f: missing"; fi
  done
  for f in "${sums[@]}"; do echo "$f: $(md5sum <"$work/$f" | cut -d' ' -f1)"; done
} | sed "s|$root|ROOT|g; s|$work/||g" >"$actual"
if [ "${ZR_WRITE_SCENARIOS:-}" = 1 ]; then cp "$actual" "$expected"; echo "wrote $expected"; exit 0; fi
diff -u "$expected" "$actual" && rm -rf "$work"
