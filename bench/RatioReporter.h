#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace brontelx::bench {

// One ratio printed at the end: the median real time of `numerator` over that of `denominator`.
struct Comparison {
  std::string title;
  std::string numerator;    // benchmark name
  std::string denominator;  // benchmark name
  std::optional<double> goal;
};

// The console report, plus the median real and CPU time of every benchmark (the "median"
// aggregate of the repetitions, or the median of the runs it was shown), from which it prints the
// comparisons. Real time decides: the engine waits for the disk and the server works in another
// process. The CPU time of the benchmark's thread (client, and the embedded engine, which runs on
// the caller's thread) is printed beside it, as it is far less disturbed by the disk.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}

  void AddComparison(Comparison comparison) { comparisons_.push_back(std::move(comparison)); }
  // A line printed under the ratios; a later note with the same key replaces it.
  void Note(const std::string& key, const std::string& text) { notes_[key] = text; }

  void ReportRuns(const std::vector<Run>& runs) override;

  void PrintSummary(std::ostream& out) const;
  // The ratios as a Markdown table (comparison, both medians, the ratios, the goal), then the notes.
  void WriteMarkdown(std::ostream& out) const;

 private:
  struct Times {
    double real = 0;  // seconds per iteration
    double cpu = 0;
  };
  struct Samples {
    std::vector<Times> runs;      // one per repetition shown
    std::optional<Times> median;  // the median aggregate, when repetitions were asked for
    std::int64_t repetitions = 0;
    std::string error;
  };
  std::optional<Times> Median(const std::string& name) const;
  // The figures of one comparison, as printed; "-" where a side was not measured.
  struct Row {
    std::string numerator = "-", denominator = "-", ratio = "-", cpu = "-", goal = "-";
  };
  Row Figures(const Comparison& comparison) const;

  std::vector<Comparison> comparisons_;
  std::map<std::string, Samples> samples_;  // by name, so the two sides of a pair stand together
  std::map<std::string, std::string> notes_;
};

}  // namespace brontelx::bench
