#include "bench/RatioReporter.h"

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

std::string FormatRatio(double ratio) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.3f", ratio);
  return buffer;
}

// The q-quantile (0 to 1) of the values, interpolated between neighbours.
double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const double position = q * static_cast<double>(values.size() - 1);
  const auto below = static_cast<std::size_t>(position);
  const std::size_t above = std::min(below + 1, values.size() - 1);
  const double weight = position - static_cast<double>(below);
  return values[below] * (1 - weight) + values[above] * weight;
}

template <typename Value>
std::vector<double> Each(const std::vector<Value>& items, double (*value)(const Value&)) {
  std::vector<double> values;
  for (const Value& item : items) values.push_back(value(item));
  return values;
}

}  // namespace

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
  std::vector<Run> aggregates;
  for (const Run& run : runs) {
    Samples& samples = samples_[run.run_name.function_name];
    if (run.run_type == Run::RT_Aggregate) {
      aggregates.push_back(run);
      continue;
    }
    if (run.error_occurred) {
      samples.error = run.error_message;
      aggregates.push_back(run);
      continue;
    }
    const auto counter = [&](const char* name) {
      const auto found = run.counters.find(name);
      return found == run.counters.end() ? 0.0 : found->second.value;
    };
    samples.repetitions.push_back(
        {counter(kFirstReal), counter(kFirstCpu), counter(kSecondReal), counter(kSecondCpu)});
    // A benchmark run once has no aggregates: its only run is shown.
    if (run.repetitions <= 1) aggregates.push_back(run);
  }
  if (!aggregates.empty()) ConsoleReporter::ReportRuns(aggregates);
}

RatioReporter::Row RatioReporter::Figures(const Pair& pair) const {
  Row row;
  if (pair.goal) row.goal = "not measured";
  const auto found = samples_.find(pair.name);
  if (found == samples_.end() || found->second.repetitions.empty()) return row;
  const std::vector<Repetition>& reps = found->second.repetitions;
  row.repetitions = static_cast<int>(reps.size());
  row.first = FormatTime(Quantile(Each<Repetition>(reps, [](const Repetition& r) { return r.firstReal; }), 0.5));
  row.second = FormatTime(Quantile(Each<Repetition>(reps, [](const Repetition& r) { return r.secondReal; }), 0.5));
  const std::vector<double> ratios =
      Each<Repetition>(reps, [](const Repetition& r) { return r.secondReal > 0 ? r.firstReal / r.secondReal : 0.0; });
  const std::vector<double> cpuRatios =
      Each<Repetition>(reps, [](const Repetition& r) { return r.secondCpu > 0 ? r.firstCpu / r.secondCpu : 0.0; });
  const double ratio = Quantile(ratios, 0.5);
  row.ratio = FormatRatio(ratio);
  row.spread = FormatRatio(Quantile(ratios, 0.25)) + " – " + FormatRatio(Quantile(ratios, 0.75));
  row.cpu = FormatRatio(Quantile(cpuRatios, 0.5));
  if (pair.goal) {
    char text[64];
    std::snprintf(text, sizeof text, "<= %.2f %s", *pair.goal, ratio <= *pair.goal ? "met" : "MISSED");
    row.goal = text;
  }
  return row;
}

RatioReporter::Row RatioReporter::Figures(const CrossComparison& cross) const {
  Row row;
  const auto median = [&](const std::string& name, bool first, bool cpu) -> std::optional<double> {
    const auto found = samples_.find(name);
    if (found == samples_.end() || found->second.repetitions.empty()) return std::nullopt;
    std::vector<double> values;
    for (const Repetition& r : found->second.repetitions)
      values.push_back(first ? (cpu ? r.firstCpu : r.firstReal) : (cpu ? r.secondCpu : r.secondReal));
    return Quantile(values, 0.5);
  };
  const std::optional<double> numerator = median(cross.numerator, cross.numeratorFirst, false);
  const std::optional<double> denominator = median(cross.denominator, cross.denominatorFirst, false);
  if (numerator) row.first = FormatTime(*numerator);
  if (denominator) row.second = FormatTime(*denominator);
  const std::optional<double> numeratorCpu = median(cross.numerator, cross.numeratorFirst, true);
  const std::optional<double> denominatorCpu = median(cross.denominator, cross.denominatorFirst, true);
  if (numerator && denominator && *denominator > 0) row.ratio = FormatRatio(*numerator / *denominator);
  if (numeratorCpu && denominatorCpu && *denominatorCpu > 0) row.cpu = FormatRatio(*numeratorCpu / *denominatorCpu);
  return row;
}

std::vector<std::pair<std::string, RatioReporter::Row>> RatioReporter::Rows() const {
  std::vector<std::pair<std::string, Row>> rows;
  for (const Pair& pair : pairs_) rows.emplace_back(pair.title, Figures(pair));
  for (const CrossComparison& cross : crosses_) rows.emplace_back(cross.title, Figures(cross));
  return rows;
}

void RatioReporter::PrintSummary(std::ostream& out) const {
  char line[320];
  out << "\nRatios (median of the per-repetition ratios of real time, spread 25th-75th percentile; cpu for "
         "information)\n";
  std::snprintf(line, sizeof line, "  %-58s %11s %11s %7s %15s %7s  %s\n", "comparison", "first", "second", "ratio",
                "spread", "cpu", "goal");
  out << line;
  for (const auto& [title, row] : Rows()) {
    std::snprintf(line, sizeof line, "  %-58s %11s %11s %7s %15s %7s  %s\n", title.c_str(), row.first.c_str(),
                  row.second.c_str(), row.ratio.c_str(), row.spread.c_str(), row.cpu.c_str(), row.goal.c_str());
    out << line;
  }
  for (const auto& [name, samples] : samples_) {
    if (!samples.error.empty()) out << "  " << name << ": error: " << samples.error << "\n";
  }
  if (!notes_.empty()) {
    out << "\nNotes\n";
    for (const auto& [key, text] : notes_) out << "  " << text << "\n";
  }
}

void RatioReporter::WriteMarkdown(std::ostream& out) const {
  out << "| comparison | first | second | ratio | spread (P25–P75) | CPU ratio | goal |\n"
         "|---|---|---|---|---|---|---|\n";
  for (const auto& [title, row] : Rows()) {
    // A missed goal stands out in the rendered table.
    const std::string goal = row.goal.find("MISSED") != std::string::npos ? "**" + row.goal + "**" : row.goal;
    out << "| " << title << " | " << row.first << " | " << row.second << " | " << row.ratio << " | " << row.spread
        << " | " << row.cpu << " | " << goal << " |\n";
  }
  for (const auto& [name, samples] : samples_) {
    if (!samples.error.empty()) out << "\n" << name << ": error: " << samples.error << "\n";
  }
  if (!notes_.empty()) {
    out << "\n";
    for (const auto& [key, text] : notes_) out << "- " << text << "\n";
  }
}

}  // namespace brontelx::bench
