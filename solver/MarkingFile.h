#ifndef SOLVER_MARKINGFILE_H_
#define SOLVER_MARKINGFILE_H_

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "solver/Diagnostic.h"

namespace solver {

// The content of a ".states" file: which marking each state number stands for.
struct MarkingTable {
  std::vector<std::string> variables;  // in state-vector order
  std::vector<std::int16_t> markings;  // of state s (from 1) from (s - 1) * variables.size()

  // "name=value" for every variable of state, separated by spaces.
  std::string describe(std::uint32_t state) const;
};

// Reads a ".states" file: a header "state" and the names of the variables,
// then one line per state from 1 to numStates in order: its number and a
// marking (-32768 to 32767) per variable.
Parsed<MarkingTable> readMarkings(std::istream& in, const std::string& name,
                                  std::uint32_t numStates);
Parsed<MarkingTable> readMarkingFile(const std::string& path, std::uint32_t numStates);

}  // namespace solver

#endif
