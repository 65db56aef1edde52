#ifndef SOLVER_LOWERPOISSON_H_
#define SOLVER_LOWERPOISSON_H_

#include <cstdint>
#include <optional>

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

// The probability, at most the exact one, that an event at time at plus
// the time of the m-th of jumps coming at rate falls within (start, stop]:
// for m = 0, 1 or 0; otherwise the Erlang density's integral, rate times
// that of Poisson(rate u; m - 1).
class EventWindow {
 public:
  EventWindow(double rate, double at, double start, double stop, double truncation);
  double operator()(std::uint64_t m) const {
    return m == 0 ? (AtOnce ? 1.0 : 0.0) : (Later ? Rate * (*Later)(m - 1) : 0.0);
  }

 private:
  double Rate = 1.0;
  bool AtOnce = false;
  std::optional<LowerPoisson> Later;  // none when at is past stop
};

}  // namespace solver

#endif
