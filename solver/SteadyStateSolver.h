#ifndef SOLVER_STEADYSTATESOLVER_H_
#define SOLVER_STEADYSTATESOLVER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "solver/MarkovChain.h"
#include "solver/SubchainSystem.h"

namespace solver {

// The bottom strongly connected components of the chain (closed classes it
// never leaves): each state's component, numbered from 0, or -1 for a
// transient state; numBottom receives their number.
std::vector<std::int64_t> bottomComponents(const MarkovChain& chain, std::size_t& numBottom);

struct LongRunResult {
  std::vector<Estimate> estimates;  // by variable
  std::string method;               // how the linear systems were solved
};

// The long-run expected rate reward of each variable: the time average
// over an infinite horizon, from the initial state.
//
// In each closed class C the long-run value c of a reward r solves, with
// the bias g, the Poisson equation Q g = c - r. Pinning g at one state s of
// C, g = w - c m, where m is the mean time to reach s and w the expected
// reward earned before (one linear system, with a side per variable and
// one for m), and c follows from the equation at s (the renewal-reward
// ratio). For any g~ so found, c = pi (r + Q g~) lies between the smallest
// and largest entry of r + Q g~ over C (pi the stationary distribution):
// the value is their midpoint within half their distance, whatever the
// accuracy of the solve (bounds in the manner of Odoni's for Markov
// decision processes). From a transient initial state, the classes' values
// are weighed by the chances of ending in each (a second system, over the
// transient states), within its residual times the mean time to leave them.
LongRunResult longRunRewards(const MarkovChain& chain, const MeasureSettings& settings);

// The long-run values within epsilon, the iterative method allowed maxSteps
// iterations.
std::vector<Estimate> steadyStateRewards(const MarkovChain& chain, double epsilon,
                                         std::uint64_t maxSteps);

}  // namespace solver

#endif
