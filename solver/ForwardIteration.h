#ifndef SOLVER_FORWARDITERATION_H_
#define SOLVER_FORWARDITERATION_H_

#include <optional>
#include <vector>

#include "solver/MarkovChain.h"
#include "solver/TransientSolver.h"

namespace solver {

// Uniformization run forwards: p_k = p_0 P^k, the distribution after k
// jumps of the uniformized chain from the initial state, and a value is the
// sum over k of the measure's weight (the same as backwards) times p_k r.
// One vector serves every variable, and the products of all variables come
// from one pass over each state's row of rewards, so a step streams the
// transitions and two vectors whatever the number of variables.
//
// Its bound: P does not lengthen differences in the 1-norm, so with
// d = |p_K P - p_K|_1 (a vector summing to 0), every later p_i lies within
// (i - K) d of p_K, and the remaining terms of a value within (i - K) d
// times half its rewards' spread of p_K r. d is bounded for the computed
// p_K by the distance between two successive computed vectors, measured
// every few steps, plus the rounding of that product and twice that of
// each step since. The iteration stops where that, over the remaining
// weights, is within the bound, or where the windows end; the windows and
// rounding count as backwards, with the longest column of P plus the
// longest row (whose exit rate sets a state's own share) for the longest
// row, and the products and d as sums of their own.
//
// Returns nothing when the chain does not fit the slices (see SlicedRows)
// and, with mayHandOver, when the chain is settling (d times the rewards'
// spread within a few decades of the bound) while many more steps remain
// than were taken, and more than the backward iteration, which can stop
// once it has settled, would then need. Throws SolveError as
// transientMeasures does. Not for held states (settings.held is ignored).
std::optional<TransientResult> forwardMeasures(const MarkovChain& chain,
                                               const std::vector<TransientMeasure>& measures,
                                               const TransientSettings& settings, bool mayHandOver);

}  // namespace solver

#endif
