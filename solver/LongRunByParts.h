#ifndef SOLVER_LONGRUNBYPARTS_H_
#define SOLVER_LONGRUNBYPARTS_H_

#include <string>
#include <variant>
#include <vector>

#include "solver/IndependentParts.h"
#include "solver/Measures.h"

namespace solver {

// The long-run value of each request (all of the long-run kind, on rewards
// of numVariables values per state of the whole) of a process split into
// independent parts: each part's long-run distribution (its states'
// indicators solved as rewards, through the embedded Markov regenerative
// process when it has delays, leaving out at most cycleTruncation of a
// cycle's probability), and a state's share the product of its parts'.
// With parts a and b in error by at most A and B in all, the products are
// in error by at most A + B + A B in all, which times the largest reward
// (plus rounding) bounds each value's error. A part that moves only by
// its delays in the long run may keep in step with another such part, so
// that the parts' long runs no longer multiply: more than one such part
// is refused, with the reason returned instead.
std::variant<Evaluation, std::string> longRunByParts(std::vector<ProcessPart>& parts,
                                                     const std::vector<double>& rewards,
                                                     std::size_t numVariables,
                                                     const std::vector<MeasureRequest>& requests,
                                                     const EvaluationSettings& settings,
                                                     double cycleTruncation);

}  // namespace solver

#endif
