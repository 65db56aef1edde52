#ifndef SOLVER_TRANSIENTPLAN_H_
#define SOLVER_TRANSIENTPLAN_H_

#include <cstdint>
#include <map>
#include <vector>

#include "solver/MarkovChain.h"
#include "solver/PoissonTime.h"
#include "solver/TransientSolver.h"

namespace solver {

class Progress;

// The rewards of each variable: their range, and whether they have one sign.
// Where held (numVariables bytes per state, or null) is 1, the reward counts as 1.
struct RewardRange {
  std::vector<double> low;
  std::vector<double> high;
  std::vector<bool> oneSigned;

  RewardRange(const MarkovChain& chain, const std::uint8_t* held);
  double spread(std::size_t v) const { return high[v] - low[v]; }
  double largest(std::size_t v) const;
};

// What a uniformization weighs each step k with, for each measure: the
// Poisson(q t) probability of k at an instant t; accumulated over [a, b],
// (P(N_b > k) - P(N_a > k)) / q, divided by b - a when averaged. Each time
// point's Poisson window holds all but a share of its mass small enough
// for the measure's bound, and is built only when an iteration reaches it.
class TransientPlan {
 public:
  // rate: the uniformization rate q; 0 plans nothing (no step is taken).
  TransientPlan(double rate, const std::vector<TransientMeasure>& measures,
                const RewardRange& rewards, double epsilon);

  // Builds the windows that step k reaches. Throws SolveError when they
  // would be too large to hold.
  void buildWindows(std::uint64_t k);
  // The weight of measure j at step k, and the sum of its weights from k on.
  double weight(std::size_t j, std::uint64_t k) const;
  double remainder(std::size_t j, std::uint64_t k) const;
  // At least the sum over steps i > k of measure j's weight at i times
  // (i - k): how far the remaining weight lies beyond k.
  double remainingMoment(std::size_t j, std::uint64_t k) const;
  // The bound on the weight of measure j that the windows misplace.
  double misplaced(std::size_t j) const { return Plan[j].misplaced; }
  // The sum of measure j's exact weights: 1 at an instant or averaged,
  // else the interval's length.
  double total(std::size_t j) const { return Plan[j].total; }
  // Whether every window has been built and ends before step k.
  bool windowsPassed(std::uint64_t k) const;
  // Throws SolveError when step k reaches the limit of maxSteps steps.
  void checkStepLimit(std::uint64_t k, std::uint64_t maxSteps) const;
  // The right bound of the last time point's window: the steps it may take.
  std::uint64_t stepsBound() const;
  // The right end of the last time point's window, once built.
  std::uint64_t lastRight() const;

 private:
  // One measure's weights: instant at Poisson time `at`, or accumulated
  // between the Poisson times `from` and `to`, times scale.
  struct Weights {
    bool instant = true;
    std::size_t at = 0;
    std::size_t from = 0;
    std::size_t to = 0;
    bool fromZero = false;
    double scale = 1.0;
    double total = 1.0;      // the sum of the exact weights
    double misplaced = 0.0;  // bound on the weight the windows misplace
  };

  std::size_t timeIndex(double time, double epsilon);

  double Rate;
  std::vector<PoissonTime> Times;
  std::map<double, std::size_t> TimeOf;
  std::vector<Weights> Plan;
  std::size_t WeightsHeld = 0;
};

// Reports step k of an iteration to progress (null: nowhere) every so many
// steps; whether the run was asked to stop.
bool stopAsked(Progress* progress, std::uint64_t k);

}  // namespace solver

#endif
