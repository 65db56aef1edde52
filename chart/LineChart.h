#ifndef CHART_LINECHART_H_
#define CHART_LINECHART_H_

#include <ostream>
#include <string>
#include <vector>

namespace chart {

// A line chart: the y value over x of several series (one line each), with
// labelled axes and a legend, written as SVG.
struct LineChart {
  struct Point {
    double x;
    double y;
  };
  struct Series {
    std::string label;
    std::vector<Point> points;  // drawn in order of x
  };

  std::string title;
  std::string xLabel;
  std::string yLabel;
  bool logX = false;  // x on a logarithmic scale (every x must be positive)
  std::vector<Series> series;

  // Adds the point to the series of that label, making it when new.
  void add(const std::string& label, double x, double y);
  // The SVG document; at least one point is needed.
  void writeSvg(std::ostream& out) const;
};

// Ticks for an axis over [low, high]: multiples of 1, 2 or 5 times a power
// of ten, about count of them, covering the range.
std::vector<double> niceTicks(double low, double high, int count);

// text with the characters XML gives a meaning escaped.
std::string escapeXml(const std::string& text);

}  // namespace chart

#endif
