#ifndef SOLVER_LOWERPOISSON_H_
#define SOLVER_LOWERPOISSON_H_

#include <cstdint>

#include "solver/FoxGlynn.h"

namespace solver {

// Poisson probabilities scaled down by the mass the window may leave out,
// so that each is at most the exact one; 0 outside the window. Or, for a
// span, at most their integrals over it.
class LowerPoisson {
 public:
  LowerPoisson(double mean, double truncation);
  // The integral of Poisson(rate u; k) over u in [from, from + length],
  // P(N(rate from) <= k < N(rate (from + length))) / rate (the Erlang
  // distribution function), as the sum over j <= k of Poisson(x1; j) -
  // Poisson(x2; j), x1 = rate from and x2 = rate (from + length). Each
  // difference is one probability times a factor from their ratio, and
  // below the j where they are equal all are positive, above it all
  // negative: so below it the sum up to k is taken, above it minus the sum
  // beyond k, and no term cancels another, however short the span. The
  // lower windows keep each at most the exact one.
  static LowerPoisson integral(double rate, double from, double length, double truncation);

  double operator()(std::uint64_t k) const {
    return k < Window.left || k > Window.right() ? 0.0 : Window.probabilities[k - Window.left];
  }
  std::uint64_t left() const { return Window.left; }
  std::uint64_t right() const { return Window.right(); }
  std::uint64_t size() const { return Window.probabilities.size(); }

 private:
  PoissonWindow Window;
};

}  // namespace solver

#endif
