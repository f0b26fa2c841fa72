// Runs the pairs and prints, after Google Benchmark's own report, each pair's median per-repetition
// ratio library/floor with its spread. Unless given on the command line, each pair runs 25
// repetitions of at least 0.2 s, interleaved at random with those of the others, and only the
// aggregates are displayed (in colour only on a terminal). The benchmarks that open windows do so
// offscreen.
// --results_markdown=FILE also writes the ratios there as a Markdown table (scripts/bench.sh puts
// it into docs/PERFORMANCE.md).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>

#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "bench/Fixtures.h"
#include "bench/RatioReporter.h"
#include "bench/Registration.h"

int main(int argc, char** argv) {
  using namespace brontelx::bench;
  std::vector<std::string> defaults = {"--benchmark_repetitions=25", "--benchmark_min_time=0.2",
                                       "--benchmark_enable_random_interleaving=true"};
  // --results_markdown=FILE is ours: the ratios are also written there as a Markdown table.
  constexpr std::string_view kMarkdownFlag = "--results_markdown=";
  std::string markdown;
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::string_view(argv[i]).starts_with(kMarkdownFlag)) {
      markdown = argv[i] + kMarkdownFlag.size();
    } else {
      args.push_back(argv[i]);
    }
  }
  for (std::string& flag : defaults) {
    const std::string_view name = std::string_view(flag).substr(0, flag.find('='));
    bool given = false;
    for (int i = 1; i < argc; ++i) given = given || std::string_view(argv[i]).starts_with(name);
    if (!given) args.push_back(flag.data());
  }
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  benchmark::Initialize(&count, args.data());
  // The windows of the window benchmarks never appear on a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

  bool colour = isatty(STDOUT_FILENO) != 0;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--benchmark_color=false" || arg == "--benchmark_color=no") colour = false;
  }
  RatioReporter reporter(colour ? benchmark::ConsoleReporter::OO_ColorTabular
                                : benchmark::ConsoleReporter::OO_Tabular);
  RegisterOpenBenchmarks(reporter);
  RegisterVelZidBolBenchmarks(reporter);
  RegisterTabXBenchmarks(reporter);
  RegisterSessionBenchmarks(reporter);
  RegisterQuadrelBenchmarks(reporter);
  RegisterPlacementBenchmarks(reporter);
  RegisterWindowBenchmarks(reporter);

  benchmark::RunSpecifiedBenchmarks(&reporter);
  ReleaseFixtures();
  reporter.PrintSummary(std::cout);
  if (!markdown.empty()) {
    std::ofstream file(markdown);
    reporter.WriteMarkdown(file);
    if (!file) {
      std::cerr << "cannot write " << markdown << "\n";
      return 1;
    }
  }
  benchmark::Shutdown();
  return 0;
}
