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

// The chain with its states renumbered by newIndex (a permutation):
// transitions, rewards (numVariables per state) and initial state.
MarkovChain renumbered(const MarkovChain& chain, const std::vector<std::uint32_t>& newIndex);

// Per-state bytes (width per state) in the same renumbering.
std::vector<std::uint8_t> renumbered(const std::vector<std::uint8_t>& values, std::size_t width,
                                     const std::vector<std::uint32_t>& newIndex);

}  // namespace solver

#endif
