#ifndef SOLVER_TRANSIENTSOLVER_H_
#define SOLVER_TRANSIENTSOLVER_H_

#include <cstdint>
#include <vector>

#include "solver/MarkovChain.h"

namespace solver {

class Progress;

// How far a uniformization went: its rate q, the steps that the Poisson
// window of the last time point reaches, and the steps taken (fewer when
// the chain became stationary).
struct UniformizationSteps {
  double rate = 0.0;
  std::uint64_t needed = 0;
  std::uint64_t taken = 0;
};

// One value to compute of one reward variable of a chain: its expected
// rate reward at an instant (start == stop), or accumulated over
// [start, stop] (divided by stop - start when averaged).
struct TransientMeasure {
  std::size_t variable = 0;
  double start = 0.0;
  double stop = 0.0;
  bool average = false;
};

// Which way a uniformization runs (see transientMeasures).
enum class TransientDirection { kAutomatic, kBackward, kForward };

struct TransientSettings {
  double epsilon = 1e-10;  // absolute error bound
  double relative = 0.0;   // relative error bound; the absolute one is its floor
  std::uint64_t maxSteps = 100000000;
  unsigned threads = 1;
  Progress* progress = nullptr;
  // numVariables bytes per state, or null: where 1, the state is absorbing
  // for that variable and its reward is 1, so that the value at t is the
  // probability that such a state has been entered by t.
  const std::vector<std::uint8_t>* held = nullptr;
  TransientDirection direction = TransientDirection::kAutomatic;
};

struct TransientResult {
  std::vector<Estimate> estimates;  // by measure
  UniformizationSteps steps;
  bool stopped = false;  // asked to stop: the estimates carry the bounds reached
};

// Uniformization run backwards (Jensen's method; Poisson weights of Fox and
// Glynn, 1988): x_k = P^k r holds in each state the expected reward k jumps
// of the uniformized chain later, and a value is the sum over k of a weight
// times x_k in the initial state. At an instant t the weight is the
// Poisson(q t) probability of k; accumulated over [a, b] it is
// (P(N_b > k) - P(N_a > k)) / q. Every x_k is an average of the rewards,
// and its smallest and largest entries close in monotonically, so after K
// steps all the remaining terms lie between them: each value is the
// partial sum plus the remaining weight at their midpoint, within the
// remaining weight times half their distance. The iteration stops once
// every value's error is within its bound: the chain has become
// stationary, or its windows have ended (the weights outside them move a
// value by at most their mass times the rewards' spread). The error also
// bounds rounding to first order: each step adds at most (m + 6) u of the
// magnitudes combined (m the longest row, u the unit roundoff), relative
// to the value when the rewards have one sign, else to the largest reward.
// Throws SolveError when more than maxSteps steps, or a window too large to
// hold, would be needed.
//
// With several variables and no held states, the iteration runs forwards
// instead (forwardMeasures), carrying one vector where backwards it carries
// one per variable; it hands over to the backward one when the chain
// settles long before the last window, which only the backward iteration
// can tell within a bound. settings.direction forces either.
TransientResult transientMeasures(const MarkovChain& chain,
                                  const std::vector<TransientMeasure>& measures,
                                  const TransientSettings& settings);

// The expected rate reward of each variable at each time, as
// estimates[time][variable], each within epsilon of the exact value.
std::vector<std::vector<Estimate>> transientRewards(const MarkovChain& chain,
                                                    const std::vector<double>& times,
                                                    double epsilon, std::uint64_t maxSteps,
                                                    UniformizationSteps* steps = nullptr);

}  // namespace solver

#endif
