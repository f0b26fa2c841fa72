#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace brontelx::bench {

// A pair benchmark (RegisterPair): its name, the title of its ratio first/second, and the goal.
struct Pair {
  std::string title;
  std::string name;
  std::optional<double> goal;
};

// A ratio between one side of a pair and one side of another, for information: the median
// per-iteration real time of each.
struct CrossComparison {
  std::string title;
  std::string numerator;  // pair name
  bool numeratorFirst = true;
  std::string denominator;  // pair name
  bool denominatorFirst = true;
};

// The console report, plus what the pairs measured in each repetition, from which it prints the
// ratios: the median of the per-repetition ratios first/second (real time), their spread (25th to
// 75th percentile), the median per-iteration time of each side, and the median ratio of the
// thread's CPU time (client, and the embedded engine, which runs on the caller's thread; not the
// loopback server's) for information. Real time decides: the engine waits for the disk and the
// server works in another process.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // The counters a pair benchmark sets: seconds per iteration of each side.
  static constexpr char kFirstReal[] = "a_real";
  static constexpr char kFirstCpu[] = "a_cpu";
  static constexpr char kSecondReal[] = "b_real";
  static constexpr char kSecondCpu[] = "b_cpu";

  explicit RatioReporter(OutputOptions options) : ConsoleReporter(options) {}

  void AddPair(Pair pair) { pairs_.push_back(std::move(pair)); }
  void AddCross(CrossComparison comparison) { crosses_.push_back(std::move(comparison)); }
  // A line printed under the ratios; a later note with the same key replaces it.
  void Note(const std::string& key, const std::string& text) { notes_[key] = text; }

  // Records every repetition; shows only the aggregates.
  void ReportRuns(const std::vector<Run>& runs) override;

  void PrintSummary(std::ostream& out) const;
  // The ratios as a Markdown table, then the notes.
  void WriteMarkdown(std::ostream& out) const;

 private:
  struct Repetition {
    double firstReal = 0, firstCpu = 0, secondReal = 0, secondCpu = 0;
  };
  struct Samples {
    std::vector<Repetition> repetitions;
    std::string error;
  };
  // The figures of one row, as printed; "-" where nothing was measured.
  struct Row {
    std::string first = "-", second = "-", ratio = "-", spread = "-", cpu = "-", goal = "-";
    int repetitions = 0;
  };
  Row Figures(const Pair& pair) const;
  Row Figures(const CrossComparison& cross) const;
  std::vector<std::pair<std::string, Row>> Rows() const;

  std::vector<Pair> pairs_;
  std::vector<CrossComparison> crosses_;
  std::map<std::string, Samples> samples_;
  std::map<std::string, std::string> notes_;
};

}  // namespace brontelx::bench
