#include "chart/LineChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

namespace chart {

namespace {

// Page layout, in SVG user units.
const double kWidth = 760, kHeight = 480;
const double kLeft = 90, kRight = 190, kTop = 50, kBottom = 70;
const int kMaxXTicks = 12;
const char* const kColours[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd",
                                "#ff7f0e", "#8c564b", "#e377c2", "#17becf"};

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// Maps data values onto the plot area.
class Scale {
 public:
  Scale(double low, double high, double from, double to, bool logarithmic)
      : Log(logarithmic), Low(map(low)), High(map(high)), From(from), To(to) {}
  double operator()(double value) const {
    const double span = High - Low;
    return span == 0 ? (From + To) / 2 : From + (map(value) - Low) / span * (To - From);
  }

 private:
  double map(double value) const { return Log ? std::log(value) : value; }
  bool Log;
  double Low, High, From, To;
};

// Every distinct x of the data, thinned to at most kMaxXTicks.
std::vector<double> xTicks(const std::vector<LineChart::Series>& series) {
  std::set<double> distinct;
  for (const LineChart::Series& s : series) {
    for (const LineChart::Point& p : s.points) {
      distinct.insert(p.x);
    }
  }
  const std::vector<double> all(distinct.begin(), distinct.end());
  const std::size_t stride = (all.size() + kMaxXTicks - 1) / kMaxXTicks;
  std::vector<double> ticks;
  for (std::size_t i = 0; i < all.size(); i += stride) {
    ticks.push_back(all[i]);
  }
  return ticks;
}

void text(std::ostream& out, double x, double y, const std::string& anchor,
          const std::string& content, const std::string& extra = "") {
  out << "<text x=\"" << number(x) << "\" y=\"" << number(y) << "\" text-anchor=\"" << anchor
      << "\"" << extra << ">" << escapeXml(content) << "</text>\n";
}

void line(std::ostream& out, double x1, double y1, double x2, double y2, const char* stroke,
          int width = 1) {
  out << "<line x1=\"" << number(x1) << "\" y1=\"" << number(y1) << "\" x2=\"" << number(x2)
      << "\" y2=\"" << number(y2) << "\" stroke=\"" << stroke << "\" stroke-width=\"" << width
      << "\"/>\n";
}

}  // namespace

void LineChart::add(const std::string& label, double x, double y) {
  auto found = std::find_if(series.begin(), series.end(),
                            [&label](const Series& s) { return s.label == label; });
  if (found == series.end()) {
    series.push_back({label, {}});
    found = series.end() - 1;
  }
  found->points.push_back({x, y});
}

std::vector<double> niceTicks(double low, double high, int count) {
  if (!(high > low)) {
    return {low};
  }
  const double rough = (high - low) / count;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  double step = power * 10;
  for (double factor : {1.0, 2.0, 5.0}) {
    if (factor * power >= rough) {
      step = factor * power;
      break;
    }
  }
  // Multiples of step from below low to at least high, computed afresh
  // each so that no rounding accumulates.
  const double first = std::floor(low / step);
  std::vector<double> ticks;
  for (double i = first;; i++) {
    ticks.push_back(i == 0 ? 0.0 : i * step);
    if (i * step >= high - step * 1e-9) {
      return ticks;
    }
  }
}

std::string escapeXml(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

void LineChart::writeSvg(std::ostream& out) const {
  double yLow = 0, yHigh = 0;  // the y axis starts at 0 unless values are negative
  for (const Series& s : series) {
    for (const Point& p : s.points) {
      yLow = std::min(yLow, p.y);
      yHigh = std::max(yHigh, p.y);
    }
  }
  const std::vector<double> xs = xTicks(series);
  const std::vector<double> ys = niceTicks(yLow, yHigh, 6);
  const double plotRight = kWidth - kRight, plotBottom = kHeight - kBottom;
  const Scale toX(xs.front(), xs.back(), kLeft, plotRight, logX);
  const Scale toY(ys.front(), ys.back(), plotBottom, kTop, false);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight
      << "\" viewBox=\"0 0 " << kWidth << " " << kHeight
      << "\" font-family=\"sans-serif\" font-size=\"13\">\n"
      << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
  text(out, (kLeft + plotRight) / 2, kTop / 2, "middle", title, " font-size=\"16\"");
  for (double y : ys) {
    line(out, kLeft, toY(y), plotRight, toY(y), "#dddddd");
    text(out, kLeft - 8, toY(y) + 4, "end", number(y));
  }
  for (double x : xs) {
    line(out, toX(x), plotBottom, toX(x), plotBottom + 5, "black");
    text(out, toX(x), plotBottom + 20, "middle", number(x));
  }
  line(out, kLeft, plotBottom, plotRight, plotBottom, "black");
  line(out, kLeft, plotBottom, kLeft, kTop, "black");
  text(out, (kLeft + plotRight) / 2, kHeight - 20, "middle", xLabel);
  text(out, 20, (kTop + plotBottom) / 2, "middle", yLabel,
       " transform=\"rotate(-90 20 " + number((kTop + plotBottom) / 2) + ")\"");
  for (std::size_t i = 0; i < series.size(); i++) {
    const char* colour = kColours[i % (sizeof kColours / sizeof kColours[0])];
    std::vector<Point> points = series[i].points;
    std::sort(points.begin(), points.end(),
              [](const Point& a, const Point& b) { return a.x < b.x; });
    out << "<polyline fill=\"none\" stroke=\"" << colour << "\" stroke-width=\"2\" points=\"";
    for (const Point& p : points) {
      out << number(toX(p.x)) << "," << number(toY(p.y)) << " ";
    }
    out << "\"/>\n";
    for (const Point& p : points) {
      out << "<circle cx=\"" << number(toX(p.x)) << "\" cy=\"" << number(toY(p.y))
          << "\" r=\"3.5\" fill=\"" << colour << "\"/>\n";
    }
    const double legendY = kTop + 10 + 22 * static_cast<double>(i);
    line(out, plotRight + 20, legendY, plotRight + 45, legendY, colour, 2);
    text(out, plotRight + 52, legendY + 4, "start", series[i].label);
  }
  out << "</svg>\n";
}

}  // namespace chart
