#ifndef SOLVER_FIRINGFILE_H_
#define SOLVER_FIRINGFILE_H_

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "solver/Diagnostic.h"

namespace solver {

// One outcome of a deterministic firing: in state, the activity (numbered
// from 1) with the delay leads to target with the probability.
struct FiringOutcome {
  std::uint32_t state = 0;
  std::uint32_t activity = 0;
  double delay = 0.0;
  std::uint32_t target = 0;
  double probability = 0.0;
  unsigned long line = 0;  // for later messages
};

// The content of a ".firings" file.
struct FiringTable {
  std::vector<std::string> activities;  // the name of activity a at a - 1
  std::vector<FiringOutcome> outcomes;  // by state, activity, delay and target
};

// Reads a ".firings" file: "Activities:" and their count, one line "number
// name" per activity (numbered 1, 2, ...), then one line "state activity
// delay target probability" per outcome, in ascending order of state,
// activity, delay and target, with states and targets from 1 to numStates,
// positive delays and probabilities in (0, 1].
Parsed<FiringTable> readFirings(std::istream& in, const std::string& name, std::uint32_t numStates);
Parsed<FiringTable> readFiringFile(const std::string& path, std::uint32_t numStates);

}  // namespace solver

#endif
