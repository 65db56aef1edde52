#ifndef SOLVER_INDEPENDENTPARTS_H_
#define SOLVER_INDEPENDENTPARTS_H_

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "solver/DeterministicProcess.h"
#include "solver/MarkingFile.h"

namespace solver {

// One independent part of a process: its own states, moves and clocks, and
// the state of the part that each state of the whole is in.
struct ProcessPart {
  DeterministicProcess process;        // without rewards (no variables)
  std::vector<std::uint32_t> stateOf;  // by state of the whole, from 0
  std::vector<std::string> places;     // the places that make its state
};

// The process (built with every concurrent firing kept, or with one per
// state) split into parts
// that evolve independently: its places fall into groups such that every
// exponential transition, and every firing of a clock, changes the places
// of one group only; its states are every combination of the groups'
// markings; and each move's rate, and each clock's enabling, delay and
// outcomes, depend only on the marking of its own group. Then the
// probability of a state at any time is the product of its parts'. Each
// part has at most one firing per state. Returns the parts, or why the
// process does not split.
std::variant<std::vector<ProcessPart>, std::string> independentParts(
    const DeterministicProcess& process, const MarkingTable& markings);

}  // namespace solver

#endif
