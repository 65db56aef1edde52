// linechart: draws points read from standard input as an SVG line chart.
#include <getopt.h>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "chart/LineChart.h"

namespace {

const char kUsage[] =
    "usage: linechart [-l] [-t title] [-x x-label] [-y y-label] < points > chart.svg\n"
    "  points: one line \"series x y\" per point; each series is drawn as one line\n"
    "  -l      x on a logarithmic scale\n";

[[noreturn]] void refuse(const std::string& message) {
  std::cerr << "linechart: " << message << std::endl;
  std::exit(1);
}

// The points of standard input, one "series x y" per line.
void readPoints(std::istream& in, chart::LineChart& chart) {
  std::string line;
  for (unsigned long number = 1; std::getline(in, line); number++) {
    std::istringstream fields(line);
    std::string label, rest;
    double x = 0, y = 0;
    if (!(fields >> label >> x >> y) || (fields >> rest) || !std::isfinite(x) ||
        !std::isfinite(y)) {
      refuse("line " + std::to_string(number) + ": \"series x y\" expected, not \"" + line + "\"");
    }
    if (chart.logX && x <= 0) {
      refuse("line " + std::to_string(number) + ": x must be positive on a logarithmic scale");
    }
    chart.add(label, x, y);
  }
  if (chart.series.empty()) {
    refuse("no points to draw");
  }
}

}  // namespace

int main(int argc, char** argv) {
  chart::LineChart chart;
  opterr = 0;
  for (int option; (option = getopt(argc, argv, ":lt:x:y:h")) != -1;) {
    switch (option) {
      case 'l':
        chart.logX = true;
        break;
      case 't':
        chart.title = optarg;
        break;
      case 'x':
        chart.xLabel = optarg;
        break;
      case 'y':
        chart.yLabel = optarg;
        break;
      case 'h':
        std::cout << kUsage;
        return 0;
      default:
        refuse(std::string("unknown option or missing value: -") + static_cast<char>(optopt) +
               "\n" + kUsage);
    }
  }
  if (optind < argc) {
    refuse(std::string("unexpected argument ") + argv[optind] + "\n" + kUsage);
  }
  readPoints(std::cin, chart);
  chart.writeSvg(std::cout);
  return std::cout.good() ? 0 : 1;
}
