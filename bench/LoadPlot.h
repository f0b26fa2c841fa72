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

// An SVG line plot of validations per second against the number of clients (shown at even steps,
// as the steps grow by factors), with a legend.
std::string ThroughputPlot(const std::vector<int>& clients, const std::vector<PlotSeries>& series);

}  // namespace brontelx::bench
