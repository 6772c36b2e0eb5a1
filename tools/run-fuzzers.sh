#!/usr/bin/env bash
# tools/run-fuzzers.sh BUILD_DIR SECONDS [READER...]
# Runs each libFuzzer target of BUILD_DIR/fuzz/ (all of them, or the readers named) for
# SECONDS, one after the other at low priority, on its growing corpus in
# BUILD_DIR/fuzz/corpus/READER/ started from the seeds and finds kept in
# tests/fuzz/inputs/READER/. Prints one line per reader (executions, libFuzzer's
# cov: and ft: at the end, corpus size) and fails when any reader crashed, broke a rule,
# hung (30 s on one input: the largest picture allowed, 4096 x 4096 from a 75-byte
# run-length bitmap, takes some 6 s in this build on a busy machine) or ran out of memory;
# the input is then in
# BUILD_DIR/fuzz/artifacts/ and the fuzzer's log beside it.
set -uo pipefail
cd "$(dirname "$0")/.."
build="$1"
seconds="$2"
shift 2
out="$build/fuzz"
if [ $# -gt 0 ]; then readers=("$@"); else mapfile -t readers <"$out/readers.txt"; fi

# The checks write every input as a file of a game folder: in memory where there is room.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
mkdir -p "$out/artifacts" "$out/logs"
failed=()
printf '%-15s %10s %8s %8s %8s  %s\n' reader executions cov ft corpus result
for r in "${readers[@]}"; do
  [ -x "$out/fuzz_$r" ] || { echo "run-fuzzers: no fuzzer for '$r'" >&2; exit 1; }
  mkdir -p "$out/corpus/$r"
  dirs=("$out/corpus/$r" "tests/fuzz/inputs/$r")
  log="$out/logs/$r.log"
  ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}" LSAN_OPTIONS="suppressions=$PWD/tools/lsan-system.supp" \
    nice -n 10 "$out/fuzz_$r" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2560 \
    -print_final_stats=1 -artifact_prefix="$out/artifacts/$r-" "${dirs[@]}" >"$log" 2>&1
  rc=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -n1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
  result=ok
  if [ $rc -ne 0 ]; then
    result="FAILED (exit $rc, log $log)"
    failed+=("$r")
  fi
  printf '%-15s %10s %8s %8s %8s  %s\n' "$r" "${execs:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" "$result"
done
if [ ${#failed[@]} -gt 0 ]; then
  for r in "${failed[@]}"; do
    echo "---- $r: end of $out/logs/$r.log"
    tail -n 40 "$out/logs/$r.log"
  done
  exit 1
fi
