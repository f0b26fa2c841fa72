#include "bench/LoadPlot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace brontelx::bench {
namespace {

constexpr double kWidth = 640, kHeight = 420;
constexpr double kLeft = 70, kRight = 150, kTop = 60, kBottom = 60;

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

// A round upper end for the vertical axis: 1, 2 or 5 times a power of ten.
double AxisTop(double highest) {
  if (highest <= 0) return 1;
  const double power = std::pow(10.0, std::floor(std::log10(highest)));
  for (const double step : {1.0, 2.0, 5.0, 10.0}) {
    if (highest <= step * power) return step * power;
  }
  return 10 * power;
}

}  // namespace

std::string ThroughputPlot(const std::vector<int>& clients, const std::vector<PlotSeries>& series,
                           const std::string& note) {
  double highest = 0;
  for (const PlotSeries& line : series) {
    for (const double value : line.values) highest = std::max(highest, value);
  }
  const double top = AxisTop(highest);
  const double plotWidth = kWidth - kLeft - kRight, plotHeight = kHeight - kTop - kBottom;
  // Logarithmic in K, from the power of two at or below the fewest clients to the one at or above
  // the most.
  const auto [fewest, most] = std::minmax_element(clients.begin(), clients.end());
  const double low = clients.empty() ? 0 : std::floor(std::log2(std::max(1, *fewest)));
  const double high = std::max(low + 1, clients.empty() ? 1 : std::ceil(std::log2(std::max(1, *most))));
  const auto at = [&](double k) { return kLeft + plotWidth * (std::log2(k) - low) / (high - low); };
  const auto x = [&](std::size_t i) { return at(std::max(1, clients[i])); };
  const auto y = [&](double value) { return kTop + plotHeight * (1 - value / top); };

  std::ostringstream svg;
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight
      << "\" font-family=\"sans-serif\" font-size=\"12\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
      << "<text x=\"" << kWidth / 2 << "\" y=\"22\" text-anchor=\"middle\" font-size=\"14\">"
      << "VelZidBol validations per second, all databases on one server</text>\n"
      << "<text x=\"" << kWidth / 2 << "\" y=\"40\" text-anchor=\"middle\" font-size=\"11\" fill=\"#555\">"
      << note << "</text>\n";
  for (int tick = 0; tick <= 5; ++tick) {
    const double value = top * tick / 5;
    svg << "<line x1=\"" << kLeft << "\" x2=\"" << kLeft + plotWidth << "\" y1=\"" << y(value) << "\" y2=\""
        << y(value) << "\" stroke=\"#ddd\"/>\n"
        << "<text x=\"" << kLeft - 8 << "\" y=\"" << y(value) + 4 << "\" text-anchor=\"end\">"
        << Number(value) << "</text>\n";
  }
  for (double power = low; power <= high; ++power) {
    const double k = std::exp2(power);
    svg << "<line x1=\"" << at(k) << "\" x2=\"" << at(k) << "\" y1=\"" << kTop << "\" y2=\""
        << kTop + plotHeight << "\" stroke=\"#eee\"/>\n"
        << "<text x=\"" << at(k) << "\" y=\"" << kTop + plotHeight + 20 << "\" text-anchor=\"middle\">" << k
        << "</text>\n";
  }
  svg << "<line x1=\"" << kLeft << "\" x2=\"" << kLeft << "\" y1=\"" << kTop << "\" y2=\""
      << kTop + plotHeight << "\" stroke=\"black\"/>\n<line x1=\"" << kLeft << "\" x2=\"" << kLeft + plotWidth
      << "\" y1=\"" << kTop + plotHeight << "\" y2=\"" << kTop + plotHeight << "\" stroke=\"black\"/>\n"
      << "<text x=\"" << kLeft + plotWidth / 2 << "\" y=\"" << kHeight - 15
      << "\" text-anchor=\"middle\">workstations K (client processes, logarithmic scale)</text>\n"
      << "<text transform=\"translate(18 " << kTop + plotHeight / 2
      << ") rotate(-90)\" text-anchor=\"middle\">validations per second</text>\n";
  for (std::size_t s = 0; s < series.size(); ++s) {
    const PlotSeries& line = series[s];
    svg << "<polyline fill=\"none\" stroke=\"" << line.colour << "\" stroke-width=\"2\" points=\"";
    for (std::size_t i = 0; i < line.values.size(); ++i) svg << (i ? " " : "") << x(i) << "," << y(line.values[i]);
    svg << "\"/>\n";
    for (std::size_t i = 0; i < line.values.size(); ++i) {
      svg << "<circle cx=\"" << x(i) << "\" cy=\"" << y(line.values[i]) << "\" r=\"4\" fill=\"" << line.colour
          << "\"/>\n";
    }
    const double legendY = kTop + 20 + 22 * static_cast<double>(s);
    svg << "<line x1=\"" << kWidth - kRight + 15 << "\" x2=\"" << kWidth - kRight + 40 << "\" y1=\"" << legendY
        << "\" y2=\"" << legendY << "\" stroke=\"" << line.colour << "\" stroke-width=\"2\"/>\n"
        << "<text x=\"" << kWidth - kRight + 46 << "\" y=\"" << legendY + 4 << "\">" << line.name << "</text>\n";
  }
  svg << "</svg>\n";
  return svg.str();
}

}  // namespace brontelx::bench
