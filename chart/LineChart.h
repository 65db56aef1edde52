#ifndef CHART_LINECHART_H_
#define CHART_LINECHART_H_

#include <ostream>
#include <string>
#include <vector>

namespace chart {

// A line chart: the y value over x of several series (one line each), with
// titled axes, error bars and a legend, written as SVG.
struct LineChart {
  struct Point {
    double x;
    double y;
    double error = 0;  // half the error bar's height; drawn where it shows
  };
  struct Series {
    std::string label;
    std::vector<Point> points;  // drawn in order of x
  };

  std::string title;
  std::string xLabel;
  std::string yLabel;
  std::string legendTitle;  // above the legend, naming what the labels are values of
  bool logX = false;        // x on a logarithmic scale (every x must be positive)
  bool logY = false;        // y on a logarithmic scale (every y must be positive)
  std::vector<Series> series;

  // Adds the point to the series of that label, making it when new.
  void add(const std::string& label, double x, double y, double error = 0);
  // The SVG document; at least one point is needed. The legend lists the
  // lines from the top of the plot down, as their right ends lie; lines that
  // coincide at the chart's scale share one entry.
  void writeSvg(std::ostream& out) const;
};

// Ticks for an axis over [low, high]: multiples of 1, 2 or 5 times a power
// of ten, about count of them, covering the range.
std::vector<double> niceTicks(double low, double high, int count);

// Ticks for a logarithmic axis over [low, high] (both positive): the powers
// of ten covering it, with 2 and 5 times them where it spans few decades.
std::vector<double> logTicks(double low, double high);

// True when positive values spanning [low, high] read better on a
// logarithmic scale: they span two decades or more.
bool spansDecades(double low, double high);

// text with the characters XML gives a meaning escaped.
std::string escapeXml(const std::string& text);

}  // namespace chart

#endif
