#ifndef SOLVER_BANDORDER_H_
#define SOLVER_BANDORDER_H_

#include <cstdint>
#include <vector>

#include "solver/MarkovChain.h"

namespace solver {

// A numbering of the chain's states that keeps each transition's ends
// close (reverse Cuthill-McKee on the graph of the transitions taken both
// ways, from a pseudo-peripheral state of each connected part): a product
// over rows then gathers from a band of the vector that stays in cache,
// where the generator's breadth-first order spreads a state's neighbours
// over the whole vector. newIndex[s] is state s's number in the order.
std::vector<std::uint32_t> bandOrder(const MarkovChain& chain);

}  // namespace solver

#endif
