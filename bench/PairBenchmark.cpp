// The interleaved pair: both sides in every iteration, each timed on its own.
#include <time.h>

#include <chrono>
#include <exception>

#include "bench/Registration.h"

namespace brontelx::bench {
namespace {

double ThreadCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Elapsed {
  double real = 0;
  double cpu = 0;
};

Elapsed Measure(const Side& side) {
  if (side.untimed) side.untimed();
  const double cpu = ThreadCpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  side.run();
  const auto stop = std::chrono::steady_clock::now();
  return {std::chrono::duration<double>(stop - start).count(), ThreadCpuSeconds() - cpu};
}

void RunPair(benchmark::State& state, const SideFactory& makeFirst, const SideFactory& makeSecond) {
  const Side first = makeFirst();
  const Side second = makeSecond();
  Elapsed totals[2];
  std::int64_t iteration = 0;
  for (auto _ : state) {
    // First-then-second and second-then-first alternate, so neither side always runs on what the
    // other left warm (pages, the lock table, the CPU's caches).
    const bool firstLeads = iteration++ % 2 == 0;
    const Elapsed lead = Measure(firstLeads ? first : second);
    const Elapsed follow = Measure(firstLeads ? second : first);
    const Elapsed& a = firstLeads ? lead : follow;
    const Elapsed& b = firstLeads ? follow : lead;
    totals[0].real += a.real;
    totals[0].cpu += a.cpu;
    totals[1].real += b.real;
    totals[1].cpu += b.cpu;
    state.SetIterationTime(a.real + b.real);
  }
  const auto perIteration = [&](double total) {
    return benchmark::Counter(total / static_cast<double>(iteration), benchmark::Counter::kDefaults);
  };
  state.counters[RatioReporter::kFirstReal] = perIteration(totals[0].real);
  state.counters[RatioReporter::kFirstCpu] = perIteration(totals[0].cpu);
  state.counters[RatioReporter::kSecondReal] = perIteration(totals[1].real);
  state.counters[RatioReporter::kSecondCpu] = perIteration(totals[1].cpu);
}

}  // namespace

void RegisterPair(RatioReporter& reporter, const std::string& title, const std::string& name, SideFactory first,
                  SideFactory second, PairOptions options) {
  benchmark::internal::Benchmark* registered = benchmark::RegisterBenchmark(
      name.c_str(), [first = std::move(first), second = std::move(second)](benchmark::State& state) {
        try {
          RunPair(state, first, second);
        } catch (const std::exception& e) {
          state.SkipWithError(e.what());
        }
      });
  registered->UseManualTime()->Unit(benchmark::kMillisecond);
  if (options.repetitions) registered->Repetitions(*options.repetitions);
  reporter.AddPair({title, name, options.goal});
}

}  // namespace brontelx::bench
