#ifndef SOLVER_PRODUCTOFPARTS_H_
#define SOLVER_PRODUCTOFPARTS_H_

#include <string>
#include <vector>

#include "solver/IndependentParts.h"
#include "solver/Measures.h"

namespace solver {

// Why the parts cannot be solved apart for the requests, or "": a part
// too large to solve by its states' indicators, or, for the long run, two
// parts that move only by their delays there and so may keep in step (the
// time average of a product is then not the product of time averages; at
// an instant independent parts always multiply).
std::string partsRefusal(const std::vector<ProcessPart>& parts,
                         const std::vector<MeasureRequest>& requests);

// The requests of each part: for each request (an instant or the long
// run), one per state of the part, its indicator as the variable. The
// part's process gets those indicators as its rewards.
std::vector<MeasureRequest> indicatorRequests(ProcessPart& part,
                                              const std::vector<MeasureRequest>& requests);

// The value of each request (on rewards of numVariables values per state
// of the whole) from the parts' solved indicators (shares[g], ordered as
// indicatorRequests made them): a state's share is the product of its
// parts'. With the parts' shares in error by at most E_1, E_2, ... in all,
// the products are in error by at most (1 + E_1)(1 + E_2)... - 1, which
// times the largest reward, plus the rounding of the sum, bounds the
// error.
std::vector<Estimate> productOfParts(const std::vector<ProcessPart>& parts,
                                     const std::vector<Evaluation>& shares,
                                     const std::vector<double>& rewards,
                                     std::size_t numVariables,
                                     const std::vector<MeasureRequest>& requests);

}  // namespace solver

#endif
