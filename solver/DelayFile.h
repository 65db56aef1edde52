#ifndef SOLVER_DELAYFILE_H_
#define SOLVER_DELAYFILE_H_

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "solver/Diagnostic.h"

namespace solver {

// One entry of a ".det" file: a deterministic delay and the states in which
// an activity with that delay is enabled, once per enabled activity (or
// case of an activity).
struct DelayEnabling {
  double delay = 0.0;
  std::vector<std::uint32_t> states;
  unsigned long line = 0;  // of the delay, for later messages
};

// Reads a ".det" file: the number of distinct delays, then per delay its
// value (positive, each once), the numbers of the states that enable it
// (from 1 to numStates) and 0.
Parsed<std::vector<DelayEnabling>> readDelays(std::istream& in, const std::string& name,
                                              std::uint32_t numStates);
Parsed<std::vector<DelayEnabling>> readDelayFile(const std::string& path, std::uint32_t numStates);

}  // namespace solver

#endif
