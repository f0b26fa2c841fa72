#!/usr/bin/env bash
# Builds the benchmarks of the default preset and runs them with a private Firebird server on
# 127.0.0.1, which runs while this script runs:
#  - brontelx_benchmarks: each benchmark of the library beside a floor written directly on the
#    Firebird API doing the same work, both run alternately in every iteration; it ends with the
#    ratios library/floor, their spread and goals;
#  - brontelx_roundtrips: the round trips of a validation whose delivery-note database sits behind
#    a latency proxy, and its times at 10 and 50 ms one way;
#  - brontelx_load: K = 1, 4, 16, 64 client processes on the server, library against raw API, and
#    K settings windows saving together.
#
#   scripts/bench.sh                                  everything (about ten minutes)
#   scripts/bench.sh --benchmark_filter=Avvia         only the benchmarks that match, nothing else
#   scripts/bench.sh --benchmark_repetitions=40       more repetitions (default 25)
#
# Arguments go to brontelx_benchmarks. The reports are also saved in build/bench-results.txt. A run
# of everything (no --benchmark_filter) rewrites the machine, the results, the round trips, the load
# table and its plot (docs/load-throughput.svg) and the host's memory in docs/PERFORMANCE.md; the
# rest of that file is left as it is.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

brontelx_prepare

cmake --preset default
cmake --build --preset default --target brontelx_benchmarks brontelx_roundtrips brontelx_load

# A server that was already running (a test run in progress) is used and left running.
server_dir=$BRONTELX_ROOT/build/fbserver
if ! [[ -f $server_dir/firebird.pid ]] || ! kill -0 "$(<"$server_dir/firebird.pid")" 2>/dev/null; then
  trap '"$BRONTELX_ROOT/scripts/fbserver.sh" stop "$server_dir"' EXIT
fi
BRONTELX_FB_PORT=$("$BRONTELX_ROOT/scripts/fbserver.sh" start "$server_dir")
export BRONTELX_FB_PORT
echo "Private Firebird server on 127.0.0.1:$BRONTELX_FB_PORT"

# The machine the figures come from, as a Markdown table.
machine_table() {
  local cpu memory
  cpu=$(lscpu | sed -n 's/^Model name: *//p' | head -n 1)
  memory=$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
  echo "| | |"
  echo "|---|---|"
  echo "| CPU | $(nproc) logical CPUs, ${cpu:-unknown} |"
  echo "| memory | $memory |"
  echo "| system | Debian $(cat /etc/debian_version), kernel $(uname -r) |"
  echo "| Firebird | $(dpkg-query -W -f='${Version}' "libfbclient2:$(dpkg --print-architecture)" 2>/dev/null): embedded engine in Classic mode (the project's Firebird root), the private Super server on 127.0.0.1 |"
  echo "| toolchain | $(g++ --version | head -n 1), RelWithDebInfo; Google Benchmark $(dpkg-query -W -f='${Version}' libbenchmark-dev 2>/dev/null) |"
  echo "| run | $(date -u '+%Y-%m-%d %H:%M UTC'); load average before the run: $(cut -d' ' -f1-3 /proc/loadavg) |"
}

# Replaces what stands between the lines "<!-- NAME -->" and "<!-- end NAME -->" of FILE with the
# contents of the file REPLACEMENT.
splice() {
  local file=$1 name=$2 replacement=$3
  awk -v begin="<!-- $name -->" -v end="<!-- end $name -->" -v with="$replacement" '
    $0 == begin { print; while ((getline line < with) > 0) print line; skipping = 1; next }
    $0 == end { skipping = 0 }
    !skipping { print }' "$file" >"$file.new"
  mv "$file.new" "$file"
}

# Peak memory of the stand-in host with one and with ten test windows, on the demo databases
# (beside the build tree's programs and in build/bench-demo).
memory_table() {
  local windows kib shots
  build/default/host/brontelx demo build/bench-demo >/dev/null
  shots=$(mktemp -d)
  echo "| windows open | peak resident memory |"
  echo "|---|---|"
  for windows in 1 10; do
    kib=$(QT_QPA_PLATFORM=offscreen /usr/bin/time -f '%M' build/default/host/brontelx-host test --user 1 \
      --windows "$windows" --screenshot "$shots" 2>&1 >/dev/null | tail -n 1)
    echo "| $windows | $((kib / 1024)) MiB |"
  done
  rm -rf "$shots"
}

# The summary on top of docs/PERFORMANCE.md, from this run's reports: the load table (validations
# per second and latency by K), the library's times over the slow link, the host's memory and the
# machine.
summary_table() {
  local cpu run
  cpu=$(sed -n 's/^| CPU | \(.*\) |$/\1/p' build/bench-machine.md)
  run=$(sed -n 's/^| run | \([^;]*\);.*$/\1/p' build/bench-machine.md)
  echo "Measured on $cpu, $(sed -n 's/^| memory | \(.*\) |$/\1/p' build/bench-machine.md) of memory, shared with"
  echo "other work; all databases on one Firebird 3 server of the same machine; run of $run."
  echo
  awk -F' [|] ' '
    /^[|] [0-9]+ [|]/ && NF >= 10 { k[++n] = $1; sub(/^[|] /, "", k[n]); rate[n] = $2; latency[n] = $5 }
    END {
      line = "| workstations validating at once |"; rule = "|---|"
      for (i = 1; i <= n; ++i) { line = line " " k[i] " |"; rule = rule "---|" }
      print line; print rule
      line = "| validations per second, all workstations together |"
      for (i = 1; i <= n; ++i) line = line " " rate[i] " |"
      print line
      line = "| time of one validation, median / 99th percentile |"
      for (i = 1; i <= n; ++i) line = line " " latency[i] " |"
      print line
    }' build/bench-load.md
  echo
  awk -F' [|] ' '/^[|] library [|]/ && !done {
      print "| one-way delay to the delivery-note server | none (same machine) | 10 ms | 50 ms |"
      print "|---|---|---|---|"
      print "| time of one validation (median) | " $4 " | " $5 " | " $6 " |"
      done = 1 }' build/bench-roundtrips.md
  echo
  awk -F' [|] ' '/^[|] 1 [|]/ { one = $2 + 0 } /^[|] 10 [|]/ { ten = $2 + 0 }
    END { printf "Memory of a host (peak resident): %d MiB with one window open, %d MiB with ten, about %.0f MiB per further window.\n", one, ten, (ten - one) / 9 }' \
    build/bench-memory.md
}

full=0
[[ " $* " != *" --benchmark_filter="* ]] && full=1
# Taken before the run, so that it shows the load the run started in.
machine_table >build/bench-machine.md

results=$BRONTELX_ROOT/build/bench-results.md
build/default/bench/brontelx_benchmarks --benchmark_color=false --results_markdown="$results" "$@" |
  tee build/bench-results.txt
if ((full)); then
  echo "Round trips over a slow link"
  build/default/bench/brontelx_roundtrips --markdown=build/bench-roundtrips.md | tee -a build/bench-results.txt
  echo "Many clients on one server"
  build/default/bench/load/brontelx_load run --markdown=build/bench-load.md --plot=build/bench-load.svg |
    tee -a build/bench-results.txt
fi

if ((full)); then
  memory_table >build/bench-memory.md
  summary_table >build/bench-summary.md
  splice docs/PERFORMANCE.md summary build/bench-summary.md
  splice docs/PERFORMANCE.md machine build/bench-machine.md
  splice docs/PERFORMANCE.md results "$results"
  splice docs/PERFORMANCE.md roundtrips build/bench-roundtrips.md
  splice docs/PERFORMANCE.md load build/bench-load.md
  splice docs/PERFORMANCE.md memory build/bench-memory.md
  cp build/bench-load.svg docs/load-throughput.svg
  echo "docs/PERFORMANCE.md: machine, results, round trips, load (and docs/load-throughput.svg), host memory rewritten from this run"
fi
