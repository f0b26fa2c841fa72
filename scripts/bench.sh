#!/usr/bin/env bash
# Builds the benchmarks of the default preset and runs them. Each benchmark of the library runs
# beside a floor written directly on the Firebird API doing the same work; the program ends with
# the medians and the ratios library/floor. The delivery-note validation is also measured with its
# database on a private Firebird server on 127.0.0.1, which runs while this script runs.
#
#   scripts/bench.sh                                  everything (about ten minutes)
#   scripts/bench.sh --benchmark_filter=Avvia         only what matches
#   scripts/bench.sh --benchmark_repetitions=25       more repetitions (default 25)
#
# Arguments go to the benchmark program. The report is also saved in build/bench-results.txt.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

brontelx_prepare

cmake --preset default
cmake --build --preset default --target brontelx_benchmarks

# A server that was already running (a test run in progress) is used and left running.
server_dir=$BRONTELX_ROOT/build/fbserver
if ! [[ -f $server_dir/firebird.pid ]] || ! kill -0 "$(<"$server_dir/firebird.pid")" 2>/dev/null; then
  trap '"$BRONTELX_ROOT/scripts/fbserver.sh" stop "$server_dir"' EXIT
fi
BRONTELX_FB_PORT=$("$BRONTELX_ROOT/scripts/fbserver.sh" start "$server_dir")
export BRONTELX_FB_PORT
echo "Private Firebird server on 127.0.0.1:$BRONTELX_FB_PORT"

build/default/bench/brontelx_benchmarks --benchmark_color=false "$@" | tee build/bench-results.txt
