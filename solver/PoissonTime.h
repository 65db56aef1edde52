#ifndef SOLVER_POISSONTIME_H_
#define SOLVER_POISSONTIME_H_

#include <cstdint>
#include <vector>

namespace solver {

// The number N of jumps of a uniformized chain by one time point: a
// Poisson variable of mean lambda = q t. Its probabilities are needed only
// on a window (Fox and Glynn) that holds all but epsilon of its mass, and
// only once a computation reaches that window, so it is built on demand:
// a chain that has settled before the window needs none, whatever q t.
// Outside the window, P(N = k) counts as 0 and P(N > k) as 1 below it and
// 0 above it; the mass so misplaced is at most epsilon.
class PoissonTime {
 public:
  // lambda >= 0 (0: no jump, N = 0); 0 < epsilon < 1.
  PoissonTime(double lambda, double epsilon);

  double lambda() const { return Lambda; }
  double epsilon() const { return Epsilon; }
  // Bounds of the window, known before it is built.
  std::uint64_t leftBound() const { return LeftBound; }
  std::uint64_t rightBound() const { return RightBound; }
  // Builds the window; its number of weights.
  std::size_t build();
  bool built() const { return Built; }
  // The window's right end once built, else rightBound().
  std::uint64_t right() const;

  // P(N = k), P(N >= k), P(N > k) and sum over j >= k of P(N > j), which
  // is E[(N - k)+]. Needs the window when k reaches leftBound().
  double probability(std::uint64_t k) const;
  double atLeast(std::uint64_t k) const { return k == 0 ? 1.0 : above(k - 1); }
  double above(std::uint64_t k) const;
  double aboveSum(std::uint64_t k) const;

 private:
  double Lambda;
  double Epsilon;
  std::uint64_t LeftBound = 0;
  std::uint64_t RightBound = 0;
  bool Built = false;
  std::uint64_t Left = 0;
  std::vector<double> Probability;  // of Left, Left + 1, ...
  std::vector<double> Above;        // P(N > k) from the window, summed from the right
  std::vector<double> AboveSum;     // sum of Above from k to the right end
};

}  // namespace solver

#endif
