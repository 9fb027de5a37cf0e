#!/usr/bin/env bash
# Runs every fuzz target of build-fuzz (or those named in FUZZ_TARGETS) for
# FUZZ_SECONDS (default 60) each, or FUZZ_RUNS inputs if that comes first.
# FUZZ_SEED fixes libFuzzer's random seed (default: a new one each run): a
# run from the committed seeds with a fixed seed and a bound on the inputs
# retraces the same inputs every time, so CI can fuzz and still pass every
# time what a run with the same seed and bound has passed.
# Qt's hash seed is fixed as well, so that the order of a hash's entries,
# and with it the code an input reaches, is the same in every run.
# The corpus is not reloaded from disk while a target runs (one process,
# nothing else writes there): when a reload falls depends on the clock.
# Fails on any crash, broken check, leak, input taking over 2 s or memory
# over 1 GB. What a target finds is saved under tests/fuzz/regressions/<name>/,
# which the replay tests of the ordinary build run from then on.
set -uo pipefail
cd "$(dirname "$0")/.."
# Absolute paths: a target may change its current folder.
root=$PWD
seconds=${FUZZ_SECONDS:-60}
seed=${FUZZ_SEED:-0}
runs=${FUZZ_RUNS:--1}
build=build-fuzz
logs=$build/fuzz-logs
mkdir -p "$logs"
failed=()
targets=("$build"/tests/fuzz/fuzz_*)
[[ -x ${targets[0]} ]] || { echo "no fuzz targets in $build" >&2; exit 1; }
for exe in "${targets[@]}"; do
  [[ -f $exe && -x $exe ]] || continue
  name=${exe##*/fuzz_}
  [[ -z ${FUZZ_TARGETS:-} || " $FUZZ_TARGETS " == *" $name "* ]] || continue
  # libFuzzer adds what it learns to the first folder; the committed seeds stay as they are.
  work=$root/$build/fuzz-corpus/$name
  found=$root/tests/fuzz/regressions/$name
  mkdir -p "$work" "$found"
  QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy QT_HASH_SEED=0 \
    ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$exe" -max_total_time="$seconds" -seed="$seed" -runs="$runs" -reload=0 -timeout=2 -rss_limit_mb=1024 -malloc_limit_mb=1024 \
    -print_final_stats=1 -artifact_prefix="$found/" "$work" "$root/tests/fuzz/corpus/$name" >"$logs/$name.log" 2>&1
  rc=$?
  done_line=$(grep -E '^#[0-9]+' "$logs/$name.log" | tail -1)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$logs/$name.log")
  echo "fuzz $name: ${execs:-?} runs; $done_line"
  if ((rc != 0)); then
    failed+=("$name")
    grep -E 'ERROR|FUZZ_CHECK|SUMMARY|Test unit written|^    #[0-9]' "$logs/$name.log" | head -40
  fi
done
if ((${#failed[@]})); then
  echo "fuzzing failed: ${failed[*]} (logs in $logs, inputs in tests/fuzz/regressions/)" >&2
  exit 1
fi
