#pragma once

#include <string>
#include <vector>

namespace brontelx::bench {

// One line of the plot: its name, colour, and a value for each number of clients.
struct PlotSeries {
  std::string name;
  std::string colour;
  std::vector<double> values;
};

// An SVG line plot of validations per second against the number of clients on a logarithmic axis
// (ticks at the powers of two), with labelled axes, a legend and `note` (the machine and the date)
// under the title.
std::string ThroughputPlot(const std::vector<int>& clients, const std::vector<PlotSeries>& series,
                           const std::string& note);

}  // namespace brontelx::bench
