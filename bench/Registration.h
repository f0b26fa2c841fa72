#pragma once

#include <benchmark/benchmark.h>

#include <exception>
#include <optional>
#include <string>

#include "RatioReporter.h"

namespace brontelx::bench {

// Each adds its benchmarks and the comparisons built from them.
void RegisterOpenBenchmarks(RatioReporter& reporter);
void RegisterVelZidBolBenchmarks(RatioReporter& reporter);
void RegisterTabXBenchmarks(RatioReporter& reporter);
void RegisterSessionBenchmarks(RatioReporter& reporter);
void RegisterQuadrelBenchmarks(RatioReporter& reporter);
void RegisterPlacementBenchmarks(RatioReporter& reporter);

// Registers `body` under `name`, timed in real time (the engine or the server does most of the
// work) and reported in milliseconds. An exception, from the set-up or from the loop, ends the
// benchmark with its message instead of the program.
template <typename Body>
benchmark::internal::Benchmark* Register(const std::string& name, Body body) {
  return benchmark::RegisterBenchmark(name.c_str(),
                                      [body](benchmark::State& state) {
                                        try {
                                          body(state);
                                        } catch (const std::exception& e) {
                                          state.SkipWithError(e.what());
                                        }
                                      })
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
}

// Registers "<name>/library" and "<name>/floor" and reports the ratio of the first to the second
// under `title`.
template <typename Library, typename Floor>
void RegisterPair(RatioReporter& reporter, const std::string& title, const std::string& name, Library library,
                  Floor floor, std::optional<double> goal) {
  Register(name + "/library", library);
  Register(name + "/floor", floor);
  reporter.AddComparison({title, name + "/library", name + "/floor", goal});
}

}  // namespace brontelx::bench
