#ifndef SOLVER_FOXGLYNN_H_
#define SOLVER_FOXGLYNN_H_

#include <cstdint>
#include <vector>

namespace solver {

// Probabilities of a Poisson variable on the window [left, right()] that
// holds all but a given share of its mass, normalised to sum to 1 there.
struct PoissonWindow {
  std::uint64_t left = 0;
  std::vector<double> probabilities;  // of left, left + 1, ..., right()

  std::uint64_t right() const { return left + probabilities.size() - 1; }
};

// The Poisson(rate) probabilities outside the returned window sum to at most
// epsilon. Truncation points and weights follow Fox and Glynn ("Computing
// Poisson probabilities", Communications of the ACM 31(4), 1988): the
// points from their tail bounds for half of epsilon; the weights from the
// mode outwards by the recurrence of successive probabilities, scaled so
// that none overflows or underflows, and summed from the smallest up. Then
// the window is narrowed from its lighter end while the mass dropped stays
// within the other half of epsilon (the tail bounds are loose for small
// rates). Requires rate > 0 and 0 < epsilon < 1.
PoissonWindow poissonWindow(double rate, double epsilon);

// The left end of poissonWindow(rate, epsilon) is at least this point,
// found without computing a weight: a computation that ends before it
// needs no window.
std::uint64_t poissonLeftPoint(double rate, double epsilon);
// Likewise, its right end is at most this point.
std::uint64_t poissonRightPoint(double rate, double epsilon);

}  // namespace solver

#endif
