#include "RatioReporter.h"

#include <algorithm>
#include <cstdio>

namespace brontelx::bench {
namespace {

std::string FormatTime(double seconds) {
  char buffer[32];
  if (seconds >= 1.0) {
    std::snprintf(buffer, sizeof buffer, "%.3f s", seconds);
  } else if (seconds >= 1e-3) {
    std::snprintf(buffer, sizeof buffer, "%.3f ms", seconds * 1e3);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.2f us", seconds * 1e6);
  }
  return buffer;
}

}  // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    const std::string& name = run.run_name.function_name;
    Samples& samples = samples_[name];
    samples.repetitions = run.repetitions;
    if (run.error_occurred) {
      samples.error = run.error_message;
      continue;
    }
    const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
    const Times times{run.GetAdjustedRealTime() / unit, run.GetAdjustedCPUTime() / unit};
    if (run.run_type == Run::RT_Iteration) {
      samples.runs.push_back(times);
    } else if (run.aggregate_name == "median") {
      samples.median = times;
    }
  }
}

std::optional<RatioReporter::Times> RatioReporter::Median(const std::string& name) const {
  const auto found = samples_.find(name);
  if (found == samples_.end()) return std::nullopt;
  const Samples& samples = found->second;
  if (samples.median) return samples.median;
  if (samples.runs.empty()) return std::nullopt;
  auto median = [&](double Times::*member) {
    std::vector<double> sorted;
    for (const Times& times : samples.runs) sorted.push_back(times.*member);
    std::sort(sorted.begin(), sorted.end());
    const std::size_t half = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[half] : (sorted[half - 1] + sorted[half]) / 2;
  };
  return Times{median(&Times::real), median(&Times::cpu)};
}

RatioReporter::Row RatioReporter::Figures(const Comparison& c) const {
  const std::optional<Times> numerator = Median(c.numerator);
  const std::optional<Times> denominator = Median(c.denominator);
  Row row;
  char text[64];
  if (numerator) row.numerator = FormatTime(numerator->real);
  if (denominator) row.denominator = FormatTime(denominator->real);
  if (c.goal) row.goal = "not measured";
  if (numerator && denominator && denominator->real > 0 && denominator->cpu > 0) {
    const double value = numerator->real / denominator->real;
    std::snprintf(text, sizeof text, "%.3f", value);
    row.ratio = text;
    std::snprintf(text, sizeof text, "%.3f", numerator->cpu / denominator->cpu);
    row.cpu = text;
    if (c.goal) {
      std::snprintf(text, sizeof text, "<= %.2f %s", *c.goal, value <= *c.goal ? "met" : "MISSED");
      row.goal = text;
    }
  }
  return row;
}

void RatioReporter::PrintSummary(std::ostream& out) const {
  char line[256];
  out << "\nMedians per iteration\n";
  std::snprintf(line, sizeof line, "  %-44s %12s %12s\n", "benchmark", "real", "cpu");
  out << line;
  for (const auto& [name, samples] : samples_) {
    const std::optional<Times> median = Median(name);
    std::snprintf(line, sizeof line, "  %-44s %12s %12s  (%lld repetitions)%s%s\n", name.c_str(),
                  median ? FormatTime(median->real).c_str() : "-",
                  median ? FormatTime(median->cpu).c_str() : "-", static_cast<long long>(samples.repetitions),
                  samples.error.empty() ? "" : "  error: ", samples.error.c_str());
    out << line;
  }

  out << "\nRatios of the medians (real time decides; cpu ratio for information)\n";
  std::snprintf(line, sizeof line, "  %-54s %11s %11s %7s %7s  %s\n", "comparison", "numerator",
                "denominator", "ratio", "cpu", "goal");
  out << line;
  for (const Comparison& c : comparisons_) {
    const Row row = Figures(c);
    std::snprintf(line, sizeof line, "  %-54s %11s %11s %7s %7s  %s\n", c.title.c_str(), row.numerator.c_str(),
                  row.denominator.c_str(), row.ratio.c_str(), row.cpu.c_str(), row.goal.c_str());
    out << line;
  }
  if (!notes_.empty()) {
    out << "\nNotes\n";
    for (const auto& [key, text] : notes_) out << "  " << text << "\n";
  }
}

void RatioReporter::WriteMarkdown(std::ostream& out) const {
  out << "| comparison | numerator | denominator | ratio | CPU ratio | goal |\n"
         "|---|---|---|---|---|---|\n";
  for (const Comparison& c : comparisons_) {
    const Row row = Figures(c);
    // A missed goal stands out in the rendered table.
    const std::string goal = row.goal.find("MISSED") != std::string::npos ? "**" + row.goal + "**" : row.goal;
    out << "| " << c.title << " | " << row.numerator << " | " << row.denominator << " | " << row.ratio << " | "
        << row.cpu << " | " << goal << " |\n";
  }
  if (!notes_.empty()) {
    out << "\n";
    for (const auto& [key, text] : notes_) out << "- " << text << "\n";
  }
}

}  // namespace brontelx::bench
