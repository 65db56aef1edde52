#ifndef SOLVER_TRANSIENTSOLVER_H_
#define SOLVER_TRANSIENTSOLVER_H_

#include <cstdint>
#include <vector>

#include "solver/MarkovChain.h"

namespace solver {

// How far a uniformization went: its rate q, the steps that the Poisson
// window of the last time point reaches, and the steps taken (fewer when
// the chain became stationary).
struct UniformizationSteps {
  double rate = 0.0;
  std::uint64_t needed = 0;
  std::uint64_t taken = 0;
};

// The expected rate reward of each variable at each time, as
// estimates[time][variable], each within epsilon of the exact value.
//
// Uniformization, run backwards: x_k = P^k r holds in each state the
// expected reward k jumps of the uniformized chain later, and the value at
// time t is the sum over k of the Poisson(q t) probability of k times x_k
// in the initial state. The Poisson window (Fox and Glynn) leaves out mass
// at most epsilon / (2 R), R the spread of the variable's rewards, which
// moves a value by at most that mass times R. Every x_k is a convex
// combination of the rewards, and its smallest and largest entries close in
// monotonically; once they differ by at most epsilon for every variable,
// every later x_k lies between them (the chain has become stationary from
// every state), and the remaining terms take their midpoint, off by at most
// epsilon / 2. The error printed is the sum of both parts; rounding is not
// included. Throws SolveError when more than maxSteps steps would be needed.
// steps, when given, receives how far it went.
std::vector<std::vector<Estimate>> transientRewards(const MarkovChain& chain,
                                                    const std::vector<double>& times,
                                                    double epsilon, std::uint64_t maxSteps,
                                                    UniformizationSteps* steps = nullptr);

}  // namespace solver

#endif
