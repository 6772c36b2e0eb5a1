#!/bin/bash
# One scenario: NAME.script played by zindo-replay on a copy of the game folder, its output
# compared as text with NAME.out. Lines of the script starting with "#!" prepare the folder
# and say what to show after the run (the replay driver takes them as comments):
#   #! args ARGS...        more arguments for zindo-replay (--trace 50 is always given)
#   #! write PATH HEX      a file of these bytes (hex digits, blanks ignored; "[N x HH]" is N
#                          bytes HH, as the dumps write runs of zeros)
#   #! text PATH TEXT      a file of this text and a newline
#   #! remove PATH         files taken away (PATH may hold wildcards)
#   #! noise PATH N        a file of N bytes of rubbish
#   #! sed PATH EXPR       a file edited by sed
#   #! dump PATH           the file's bytes in hex after the run ("missing" when there is none)
#   #! sum FILE            the md5 sum of a screenshot the script took (shot FILE) after the run
#   #! files               the files beside the run after it (root/: the folder), besides the data
#   #! env NAME=VALUE      the run's environment (ROOT in VALUE: the folder); "#! env -u NAME" unsets
#   #! filelimit BLOCKS    no file written past BLOCKS x 512 bytes (ulimit -f; 0: a full disk)
#   #! readonly            the folder takes no file during the run: chmod, or as root a read-only
#                          bind mount in a mount namespace of the run's own (skipped if neither works)
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
args=(--trace 50) dumps=() sums=() envs=() files=0 limit= readonly=0
while read -r hash verb path rest; do
  [ "$hash" = "#!" ] || continue
  case $verb in
    args) args+=($path $rest) ;;
    write) rm -f "$root/$path"; printf '%s' "$rest" | perl -pe 's/\[(\d+) x (\w\w)\]/$2 x $1/ge; tr/ //d' | xxd -r -p >"$root/$path" ;;
    text) rm -f "$root/$path"; printf '%s\n' "$rest" >"$root/$path" ;;
    remove) rm -f "$root"/$path ;;
    noise) rm -f "$root/$path"; yes 'zr%&noise.#0x7f' | head -c "$rest" >"$root/$path" ;;
    sed) sed -i "$rest" "$root/$path" ;;
    dump) dumps+=("$path") ;;
    sum) sums+=("$path") ;;
    files) files=1 ;;
    env) envs+=("${path//ROOT/$root}" $rest) ;;
    filelimit) limit=$path ;;
    readonly) readonly=1 ;;
    *) echo "$scenario: unknown line '#! $verb'"; exit 1 ;;
  esac
done <"$scenario"
cp "$scenario" "$work/" || exit 1
# Under a file limit a coverage build cannot save its counts either; its complaints are not the game's.
[ -n "$limit" ] && envs+=(GCOV_ERROR_FILE=/dev/null)
run=(env "${envs[@]}" "$replay" --root "$root" --script "$work/${scenario##*/}" "${args[@]}")
[ -n "$limit" ] && run=(bash -c 'ulimit -f "$0" && trap "" XFSZ && exec "$@"' "$limit" "${run[@]}")
if [ $readonly = 1 ]; then
  chmod 555 "$root" "$root/data"
  if [ -w "$root" ] && unshare --mount true 2>/dev/null; then
    run=(unshare --mount sh -c 'mount -o bind,ro "$0" "$0" && exec "$@"' "$root" "${run[@]}")
  elif [ -w "$root" ]; then chmod 755 "$root" "$root/data"; echo "skipped: no read-only folder here"; exit 77
  fi
fi
actual=$work/actual.out
{
  # Played from a copy beside the folder: screenshots land there, not among the sources.
  (cd "$work" && "${run[@]}" 2>&1)
  echo "exit: $?"
  chmod 755 "$root" "$root/data"
  [ $files = 1 ] && echo "files: $(cd "$work" && find . -type f ! -name actual.out ! -name "${scenario##*/}" | cut -c3- | sort | tr '\n' ' ')"
  for f in "${dumps[@]}"; do
    # Runs of four zero bytes or more are written "[N x 00]".
    if [ -f "$root/$f" ]; then echo "$f: $(xxd -p -c1 "$root/$f" | tr '\n' ' ' | perl -pe 's/((?:00 ){4,})/"[".(length($1)\/3)." x 00] "/ge')"
    else echo "$f: missing"; fi
  done
  for f in "${sums[@]}"; do echo "$f: $(md5sum <"$work/$f" | cut -d' ' -f1)"; done
} | sed "s|$root|ROOT|g; s|$work/||g" >"$actual"
if [ "${ZR_WRITE_SCENARIOS:-}" = 1 ]; then cp "$actual" "$expected"; echo "wrote $expected"; exit 0; fi
diff -u "$expected" "$actual" && rm -rf "$work"
