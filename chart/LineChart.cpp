#include "chart/LineChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

namespace chart {

namespace {

// Page layout, in SVG user units.
const double kWidth = 760, kHeight = 480;
const double kLeft = 90, kRight = 200, kTop = 50, kBottom = 70;
const int kMaxXTicks = 12;
const char* const kColours[] = {"#1f77b4", "#d62728", "#2ca02c", "#9467bd",
                                "#ff7f0e", "#8c564b", "#e377c2", "#17becf"};
const std::size_t kNumColours = sizeof kColours / sizeof kColours[0];
// Past the colours, lines are told apart by their dashes too.
const char* const kDashes[] = {"", "6 3", "2 3", "8 3 2 3"};
// Error bars shorter than this, in user units, would not show.
const double kLeastBar = 2;

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

// The y ticks: the data's range with its error bars, widened to round
// numbers; a flat line gets a range around it, so that it does not sit on
// an axis.
std::vector<double> yTicks(const std::vector<LineChart::Series>& series, bool logarithmic) {
  double low = INFINITY, high = -INFINITY;
  for (const LineChart::Series& s : series) {
    for (const LineChart::Point& p : s.points) {
      // Error bars stay inside, but on a log scale only above zero.
      low = std::min(low, logarithmic || p.y - p.error <= 0 ? p.y : p.y - p.error);
      high = std::max(high, p.y + p.error);
    }
  }
  if (logarithmic) {
    return logTicks(low, high);
  }
  if (low == high) {
    const double margin = low == 0 ? 1 : std::fabs(low) / 2;
    low = low >= 0 && low - margin < 0 ? 0 : low - margin;
    high += margin;
  }
  return niceTicks(low, high, 6);
}

void text(std::ostream& out, double x, double y, const std::string& anchor,
          const std::string& content, const std::string& extra = "") {
  out << "<text x=\"" << number(x) << "\" y=\"" << number(y) << "\" text-anchor=\"" << anchor
      << "\"" << extra << ">" << escapeXml(content) << "</text>\n";
}

void line(std::ostream& out, double x1, double y1, double x2, double y2, const char* stroke,
          double width = 1, const char* dashes = "") {
  out << "<line x1=\"" << number(x1) << "\" y1=\"" << number(y1) << "\" x2=\"" << number(x2)
      << "\" y2=\"" << number(y2) << "\" stroke=\"" << stroke << "\" stroke-width=\"" << width
      << "\"";
  if (*dashes != '\0') {
    out << " stroke-dasharray=\"" << dashes << "\"";
  }
  out << "/>\n";
}

// A series as drawn: its points on the page, sorted by x.
struct Drawn {
  std::string label;
  std::vector<LineChart::Point> points;  // in user units; error as the bar's half height
  std::size_t style = 0;                 // colour and dashes
};

// A legend label in lines that fit beside the plot, broken after commas.
std::vector<std::string> wrapped(const std::string& label) {
  const std::size_t kMostCharacters = 20;
  std::vector<std::string> lines{""};
  for (std::size_t start = 0; start < label.size();) {
    std::size_t end = label.find(", ", start);
    end = end == std::string::npos ? label.size() : end + 2;
    const std::string piece = label.substr(start, end - start);
    if (!lines.back().empty() && lines.back().size() + piece.size() > kMostCharacters) {
      lines.push_back("");
    }
    lines.back() += piece;
    start = end;
  }
  for (std::string& line : lines) {
    line.erase(line.find_last_not_of(' ') + 1);
  }
  return lines;
}

bool coincide(const Drawn& a, const Drawn& b) {
  if (a.points.size() != b.points.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.points.size(); i++) {
    if (std::fabs(a.points[i].x - b.points[i].x) > 0.5 ||
        std::fabs(a.points[i].y - b.points[i].y) > 0.5) {
      return false;
    }
  }
  return true;
}

void drawSeries(std::ostream& out, const Drawn& drawn, double bottom) {
  const char* colour = kColours[drawn.style % kNumColours];
  const char* dashes = kDashes[(drawn.style / kNumColours) % (sizeof kDashes / sizeof kDashes[0])];
  out << "<polyline fill=\"none\" stroke=\"" << colour << "\" stroke-width=\"2\"";
  if (*dashes != '\0') {
    out << " stroke-dasharray=\"" << dashes << "\"";
  }
  out << " points=\"";
  for (const LineChart::Point& p : drawn.points) {
    out << number(p.x) << "," << number(p.y) << " ";
  }
  out << "\"/>\n";
  for (const LineChart::Point& p : drawn.points) {
    if (p.error >= kLeastBar / 2) {
      const double top = p.y - p.error, low = std::min(p.y + p.error, bottom);
      line(out, p.x, top, p.x, low, colour);
      line(out, p.x - 4, top, p.x + 4, top, colour);
      line(out, p.x - 4, low, p.x + 4, low, colour);
    }
    out << "<circle cx=\"" << number(p.x) << "\" cy=\"" << number(p.y) << "\" r=\"3.5\" fill=\""
        << colour << "\"/>\n";
  }
}

}  // namespace

void LineChart::add(const std::string& label, double x, double y, double error) {
  auto found = std::find_if(series.begin(), series.end(),
                            [&label](const Series& s) { return s.label == label; });
  if (found == series.end()) {
    series.push_back({label, {}});
    found = series.end() - 1;
  }
  found->points.push_back({x, y, error});
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

std::vector<double> logTicks(double low, double high) {
  const int first = static_cast<int>(std::floor(std::log10(low) + 1e-9));
  const int last = std::max(first + 1, static_cast<int>(std::ceil(std::log10(high) - 1e-9)));
  const bool fine = last - first <= 3;
  std::vector<double> ticks;
  for (int power = first; power <= last; power++) {
    const double decade = std::pow(10.0, power);
    ticks.push_back(decade);
    if (fine && power < last) {
      ticks.push_back(2 * decade);
      ticks.push_back(5 * decade);
    }
  }
  // The decades around the data, less the fine ticks beyond it.
  std::vector<double> kept;
  for (std::size_t i = 0; i < ticks.size(); i++) {
    const bool beyond = (i + 1 < ticks.size() && ticks[i + 1] <= low * (1 + 1e-12)) ||
                        (i > 0 && ticks[i - 1] >= high * (1 - 1e-12));
    if (!beyond) {
      kept.push_back(ticks[i]);
    }
  }
  return kept;
}

bool spansDecades(double low, double high) { return low > 0 && high / low >= 100; }

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
  const std::vector<double> xs = xTicks(series);
  const std::vector<double> ys = yTicks(series, logY);
  const double plotRight = kWidth - kRight, plotBottom = kHeight - kBottom;
  const Scale toX(xs.front(), xs.back(), kLeft, plotRight, logX);
  const Scale toY(ys.front(), ys.back(), plotBottom, kTop, logY);
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

  std::vector<Drawn> drawn;
  for (const Series& s : series) {
    Drawn d{s.label, {}, drawn.size()};
    for (const Point& p : s.points) {
      const double y = toY(p.y);
      // On a log scale the bar's lower end may lie at or below zero: it is
      // then drawn to the axis.
      const double below = logY && p.y - p.error <= 0 ? plotBottom : toY(p.y - p.error);
      d.points.push_back({toX(p.x), y, std::max(below - y, y - toY(p.y + p.error))});
    }
    std::sort(d.points.begin(), d.points.end(),
              [](const Point& a, const Point& b) { return a.x < b.x; });
    drawn.push_back(std::move(d));
  }
  for (const Drawn& d : drawn) {
    drawSeries(out, d, plotBottom);
  }

  // The legend, top line first: lines that coincide share an entry. A
  // chart of one line needs none.
  if (drawn.size() == 1 && legendTitle.empty()) {
    out << "</svg>\n";
    return;
  }
  std::vector<std::size_t> order(drawn.size());
  for (std::size_t i = 0; i < order.size(); i++) {
    order[i] = i;
  }
  std::stable_sort(order.begin(), order.end(), [&drawn](std::size_t a, std::size_t b) {
    return drawn[a].points.back().y < drawn[b].points.back().y;
  });
  double legendY = kTop + 10;
  if (!legendTitle.empty()) {
    text(out, plotRight + 20, legendY + 4, "start", legendTitle, " font-weight=\"bold\"");
    legendY += 22;
  }
  for (std::size_t k = 0; k < order.size();) {
    const Drawn& first = drawn[order[k]];
    std::string label = first.label;
    std::size_t shown = order[k];
    bool merged = false;
    for (k++; k < order.size() && coincide(first, drawn[order[k]]); k++) {
      label += ", " + drawn[order[k]].label;
      shown = std::max(shown, order[k]);  // the last drawn of them is the one seen
      merged = true;
    }
    const std::size_t style = drawn[shown].style;
    line(out, plotRight + 20, legendY, plotRight + 45, legendY, kColours[style % kNumColours], 2,
         kDashes[(style / kNumColours) % (sizeof kDashes / sizeof kDashes[0])]);
    for (const std::string& part : wrapped(merged ? label + " (lines coincide)" : label)) {
      text(out, plotRight + 52, legendY + 4, "start", part);
      legendY += 16;
    }
    legendY += 6;
  }
  out << "</svg>\n";
}

}  // namespace chart
