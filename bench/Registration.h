#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "bench/RatioReporter.h"

namespace brontelx::bench {

// Each adds its benchmarks and the comparisons built from them.
void RegisterOpenBenchmarks(RatioReporter& reporter);
void RegisterVelZidBolBenchmarks(RatioReporter& reporter);
void RegisterTabXBenchmarks(RatioReporter& reporter);
void RegisterSessionBenchmarks(RatioReporter& reporter);
void RegisterQuadrelBenchmarks(RatioReporter& reporter);
void RegisterPlacementBenchmarks(RatioReporter& reporter);
void RegisterWindowBenchmarks(RatioReporter& reporter);

// One side of a pair: `run` is what is measured; `untimed`, when set, runs before each `run`
// outside the measurement (moving a window, closing the one opened before).
struct Side {
  Side(std::function<void()> run, std::function<void()> untimed = {})
      : run(std::move(run)), untimed(std::move(untimed)) {}
  std::function<void()> run;
  std::function<void()> untimed;
};

// Makes a side ready: its set-up and one unmeasured run, which also checks the answer. Called at
// the start of each repetition; shared databases come from Shared<T>().
using SideFactory = std::function<Side()>;

struct PairOptions {
  PairOptions(std::optional<double> goal = std::nullopt, std::optional<int> repetitions = std::nullopt)
      : goal(goal), repetitions(repetitions) {}
  std::optional<double> goal;      // of the median per-repetition ratio first/second
  std::optional<int> repetitions;  // instead of the program's setting, for very long iterations
};

// Registers benchmark `name`, whose every iteration runs both sides once, first and second
// alternating in order, and times each on its own (real time and the thread's CPU time). Both
// sides thus run under the same state of the machine: a slow spell of the shared disk or a
// compiler on the other core falls on both. Each repetition yields one ratio first/second;
// `title` reports their median and spread. An exception ends the benchmark with its message.
void RegisterPair(RatioReporter& reporter, const std::string& title, const std::string& name, SideFactory first,
                  SideFactory second, PairOptions options);

}  // namespace brontelx::bench
