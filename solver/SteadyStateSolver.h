#ifndef SOLVER_STEADYSTATESOLVER_H_
#define SOLVER_STEADYSTATESOLVER_H_

#include <cstdint>
#include <vector>

#include "solver/MarkovChain.h"

namespace solver {

// The bottom strongly connected components of the chain (closed classes it
// never leaves): each state's component, numbered from 0, or -1 for a
// transient state; numBottom receives their number.
std::vector<std::int64_t> bottomComponents(const MarkovChain& chain, std::size_t& numBottom);

// The long-run expected rate reward of each variable.
//
// First, in each bottom component the uniformized iteration x_k = P^k r
// (power iteration on the rewards) is run until its smallest and largest
// entries there differ by at most epsilon: the long-run value of the
// component lies between them. Then, when the initial state is transient,
// lower and upper bounds of the value reached from each transient state are
// raised and lowered by Gauss-Seidel sweeps of the jump chain, starting
// from the components' bounds (and, in transient states, the smallest and
// largest of them), until they differ by at most 2 epsilon in the initial
// state. Both bounds stay valid at every step, so the midpoint's error is
// half their difference: at most epsilon once converged. Each phase stops
// after maxSteps iterations; the error then tells how far it got.
std::vector<Estimate> steadyStateRewards(const MarkovChain& chain, double epsilon,
                                         std::uint64_t maxSteps);

}  // namespace solver

#endif
