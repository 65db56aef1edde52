#include "solver/FoxGlynn.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace solver {

namespace {

const double kSqrt2Pi = std::sqrt(2.0 * M_PI);
// Beyond this k both tail bounds underflow to 0, below any epsilon.
const double kLargestK = 40;
// Points beyond any number of steps a computation can take saturate here,
// far below where a conversion or a step count would overflow: such a
// window is never reached, however far its time.
const double kFarthestPoint = 4611686018427387904.0;  // 2^62

std::uint64_t pointOf(double point) {
  return point <= 0 ? 0 : static_cast<std::uint64_t>(std::min(point, kFarthestPoint));
}

// Fox and Glynn's Corollary 1: the right tail beyond the point found for k
// is below a d(k) e^(-k^2/2) / (k sqrt(2 pi)). It is stated for rates of at
// least 400; below, the point found for 400 bounds the smaller rate's tail.
std::uint64_t rightPoint(double rate, double epsilon) {
  const double lambda = std::max(rate, 400.0);
  const double a = (1 + 1 / lambda) * std::exp(1.0 / 16) * std::sqrt(2.0);
  double k = 1;
  for (; k < kLargestK; k++) {
    const double d = 1 / (1 - std::exp(-(2.0 / 9) * (k * std::sqrt(2 * lambda) + 1.5)));
    if (a * d * std::exp(-k * k / 2) / (k * kSqrt2Pi) < epsilon / 2) {
      break;
    }
  }
  return pointOf(std::ceil(std::floor(lambda) + k * std::sqrt(2 * lambda) + 1.5));
}

// Fox and Glynn's Corollary 2: the left tail below the point found for k is
// below b e^(-k^2/2) / (k sqrt(2 pi)); for rates under 25 the window starts
// at 0.
std::uint64_t leftPoint(double rate, double epsilon) {
  if (rate < 25) {
    return 0;
  }
  const double b = (1 + 1 / rate) * std::exp(1 / (8 * rate));
  double k = 1;
  while (k < kLargestK && b * std::exp(-k * k / 2) / (k * kSqrt2Pi) >= epsilon / 2) {
    k++;
  }
  const double point = std::floor(std::floor(rate) - k * std::sqrt(rate) - 1.5);
  return pointOf(point);
}

// Sum of weights[first..last], adding the smaller of the two ends first.
double sumFromSmallest(const std::vector<double>& weights, std::size_t first, std::size_t last) {
  double sum = 0;
  while (first < last) {
    if (weights[first] <= weights[last]) {
      sum += weights[first++];
    } else {
      sum += weights[last--];
    }
  }
  return sum + weights[first];
}

}  // namespace

std::uint64_t poissonLeftPoint(double rate, double epsilon) { return leftPoint(rate, epsilon / 2); }

std::uint64_t poissonRightPoint(double rate, double epsilon) {
  return rightPoint(rate, epsilon / 2);
}

PoissonWindow poissonWindow(double rate, double epsilon) {
  const std::uint64_t left = poissonLeftPoint(rate, epsilon);
  const std::uint64_t right = poissonRightPoint(rate, epsilon);
  const auto mode = static_cast<std::uint64_t>(std::floor(rate));
  std::vector<double> weights(right - left + 1);
  // The mode's weight keeps the sum of all weights far below overflow.
  weights[mode - left] = DBL_MAX / (1e10 * static_cast<double>(weights.size()));
  for (std::uint64_t j = mode; j > left; j--) {
    weights[j - 1 - left] = weights[j - left] * (static_cast<double>(j) / rate);
  }
  for (std::uint64_t j = mode; j < right; j++) {
    weights[j + 1 - left] = weights[j - left] * (rate / static_cast<double>(j + 1));
  }
  // Narrow the window from its lighter end within the second half of epsilon.
  const double total = sumFromSmallest(weights, 0, weights.size() - 1);
  std::size_t first = 0;
  std::size_t last = weights.size() - 1;
  double dropped = 0;
  while (first < last) {
    const bool atFirst = weights[first] <= weights[last];
    const double share = (atFirst ? weights[first] : weights[last]) / total;
    if (dropped + share > epsilon / 2) {
      break;
    }
    dropped += share;
    if (atFirst) {
      first++;
    } else {
      last--;
    }
  }
  const double kept = sumFromSmallest(weights, first, last);
  PoissonWindow window;
  window.left = left + first;
  window.probabilities.reserve(last - first + 1);
  for (std::size_t j = first; j <= last; j++) {
    window.probabilities.push_back(weights[j] / kept);
  }
  return window;
}

}  // namespace solver
