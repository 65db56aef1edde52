#include "solver/LowerPoisson.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace solver {

LowerPoisson::LowerPoisson(double mean, double truncation) {
  if (mean > 0) {
    Window = poissonWindow(mean, truncation);
    for (double& p : Window.probabilities) {
      p *= 1 - truncation;
    }
  } else {
    Window.probabilities = {1.0};
  }
}

LowerPoisson LowerPoisson::integral(double rate, double from, double length, double truncation) {
  const double x1 = rate * from;
  const double dx = rate * length;
  const LowerPoisson low(x1, truncation);
  const LowerPoisson high(x1 + dx, truncation);
  LowerPoisson integrated(0.0, truncation);
  integrated.Window.left = low.left();
  // log(Poisson(x2; j) / Poisson(x1; j)) = j logRatio - dx.
  const double logRatio = x1 > 0 ? std::log1p(dx / x1) : INFINITY;
  if (!(logRatio > 0) || high.right() <= low.left()) {
    integrated.Window.probabilities = {0.0};  // nothing, or too little to tell
    return integrated;
  }
  const auto logRatioAt = [&](std::uint64_t j) { return (j == 0 ? 0.0 : j * logRatio) - dx; };
  const double equal = dx / logRatio;
  std::vector<double> rising(high.size() + 1, 0.0);  // of j >= high.left() + i
  for (std::size_t i = high.size(); i-- > 0;) {
    const double factor = -std::expm1(-logRatioAt(high.left() + i));
    rising[i] = rising[i + 1] + high.Window.probabilities[i] * std::max(0.0, factor);
  }
  integrated.Window.probabilities.clear();
  double falling = 0.0;
  for (std::uint64_t k = low.left(); k < high.right(); k++) {
    if (static_cast<double>(k) < equal) {
      falling += low(k) * std::max(0.0, -std::expm1(logRatioAt(k)));
      integrated.Window.probabilities.push_back(falling / rate);
    } else {
      const std::size_t i = k + 1 < high.left() ? 0 : k + 1 - high.left();
      integrated.Window.probabilities.push_back(rising[i] / rate);
    }
  }
  return integrated;
}

EventWindow::EventWindow(double rate, double at, double start, double stop, double truncation)
    : Rate(rate), AtOnce(start < at && at <= stop) {
  if (at < stop) {
    const double from = std::max(start - at, 0.0);
    // The span's own length where it starts after the event keeps its digits.
    const double length = start >= at ? stop - start : stop - at;
    Later = LowerPoisson::integral(rate, from, length, truncation);
  }
}

}  // namespace solver
