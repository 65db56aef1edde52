#include "solver/PoissonTime.h"

#include <utility>

#include "solver/FoxGlynn.h"

namespace solver {

PoissonTime::PoissonTime(double lambda, double epsilon) : Lambda(lambda), Epsilon(epsilon) {
  if (lambda > 0) {
    LeftBound = poissonLeftPoint(lambda, epsilon);
    RightBound = poissonRightPoint(lambda, epsilon);
  }
}

std::size_t PoissonTime::build() {
  if (Built || Lambda == 0) {
    Built = true;
    return Probability.size();
  }
  PoissonWindow window = poissonWindow(Lambda, Epsilon);
  Left = window.left;
  Probability = std::move(window.probabilities);
  const std::size_t size = Probability.size();
  Above.assign(size, 0.0);
  AboveSum.assign(size, 0.0);
  for (std::size_t i = size - 1; i > 0; i--) {
    Above[i - 1] = Above[i] + Probability[i];
  }
  for (std::size_t i = size; i-- > 0;) {
    AboveSum[i] = Above[i] + (i + 1 < size ? AboveSum[i + 1] : 0.0);
  }
  Built = true;
  return size;
}

std::uint64_t PoissonTime::right() const {
  return Built && !Probability.empty() ? Left + Probability.size() - 1 : RightBound;
}

double PoissonTime::probability(std::uint64_t k) const {
  if (Lambda == 0) {
    return k == 0 ? 1.0 : 0.0;
  }
  if (k < Left || k - Left >= Probability.size()) {
    return 0.0;
  }
  return Probability[k - Left];
}

double PoissonTime::above(std::uint64_t k) const {
  if (Lambda == 0) {
    return 0.0;
  }
  if (!Built || k < Left) {
    return 1.0;
  }
  return k - Left < Above.size() ? Above[k - Left] : 0.0;
}

double PoissonTime::aboveSum(std::uint64_t k) const {
  if (Lambda == 0) {
    return 0.0;
  }
  // Below the window every P(N > j) counts as 1.
  const std::uint64_t left = Built ? Left : LeftBound;
  if (k < left) {
    return static_cast<double>(left - k) + (Built ? aboveSum(left) : Lambda - left);
  }
  return k - Left < AboveSum.size() ? AboveSum[k - Left] : 0.0;
}

}  // namespace solver
