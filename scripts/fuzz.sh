#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (the "fuzz" preset: clang, AddressSanitizer +
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60) from its seed corpus in
# fuzz/corpus/<target>. Inputs found along the way go to build/fuzz/corpus/<target>, so the seeds in
# the repository stay as they are. Prints the executions of each target. A crash, a sanitizer
# report or a failed property fails the target; its input is saved in build/fuzz/artifacts/ and its
# log in build/fuzz/logs/. Exits non-zero when any target failed.
# Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

seconds=${1:-60}
if [[ ! $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "Usage: $0 [SECONDS]" >&2
  exit 2
fi

brontelx_prepare
cmake --preset fuzz
cmake --build --preset fuzz

build=$BRONTELX_ROOT/build/fuzz
mkdir -p "$build/artifacts" "$build/logs"
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=()
# The fuzz build lists its targets; each must have seeds.
mapfile -t targets <"$build/fuzz/targets.txt"
for target in "${targets[@]}"; do
  seeds=$BRONTELX_ROOT/fuzz/corpus/$target
  corpus=$build/corpus/$target
  log=$build/logs/$target.log
  if [[ ! -d $seeds ]]; then
    echo "$target: no seed corpus in fuzz/corpus/$target" >&2
    failed+=("$target")
    continue
  fi
  mkdir -p "$corpus"
  # -timeout: an input that takes this long counts as a hang.
  if "$build/fuzz/$target" -max_total_time="$seconds" -max_len=4096 -timeout=25 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$target-" "$corpus" "$seeds" >"$log" 2>&1; then
    echo "$target: $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") executions in $seconds s"
  else
    grep -E '^(Property failed|==[0-9]+==ERROR|SUMMARY|.*runtime error)' "$log" >&2 || tail -n 20 "$log" >&2
    echo "$target: FAILED, log in $log, input in $build/artifacts/" >&2
    failed+=("$target")
  fi
done
if ((${#failed[@]} > 0)); then
  echo "Fuzzing failed: ${failed[*]}" >&2
  exit 1
fi
echo "Fuzzing found nothing: ${#targets[@]} targets, $seconds s each."
