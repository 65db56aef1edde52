#ifndef SOLVER_FIRSTPASSAGE_H_
#define SOLVER_FIRSTPASSAGE_H_

#include <cstddef>
#include <string>
#include <vector>

#include "solver/MarkovChain.h"
#include "solver/SubchainSystem.h"

namespace solver {

struct FirstPassage {
  Estimate estimate;
  // The chain can avoid the condition forever with positive probability:
  // the mean time is infinite (and estimate is not set).
  bool infinite = false;
  std::string method;  // how the linear system was solved
};

// Whether the chain, started in its initial state where the condition does
// not hold, can reach a state from which the condition cannot be reached
// without passing through it first: then it avoids the condition forever
// with positive probability. Decided on the graph of its transitions
// alone; the rates and rewards are not read.
bool canAvoidForever(const MarkovChain& chain, const std::vector<bool>& holds);

// The mean time from the initial state until the condition first holds:
// the condition holds where the reward of `variable` is 1 (it is 0
// elsewhere). 0 when it holds initially. Infinite when a state that cannot
// reach the condition can be reached without passing through it, which is
// decided on the graph of the chain, not from a large number. Otherwise
// the mean times solve B m = 1 over the states reachable before the
// condition (a nonsingular M-matrix), and m lies within the residual times
// m itself of the solution found.
FirstPassage meanTimeToCondition(const MarkovChain& chain, std::size_t variable,
                                 const MeasureSettings& settings);

}  // namespace solver

#endif
