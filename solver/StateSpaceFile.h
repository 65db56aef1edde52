#ifndef SOLVER_STATESPACEFILE_H_
#define SOLVER_STATESPACEFILE_H_

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "solver/Diagnostic.h"

namespace solver {

// The records of a ".arm" file: for each state (numbered from 1, stored
// from index 0) its targets in ascending order, each with its value: a rate
// where positive, minus the probability of a deterministic firing where
// negative, their sum where both lead to one target.
struct StateSpace {
  std::uint32_t numStates = 0;
  std::vector<std::uint64_t> rowStart;  // numStates + 1 entries into target and value
  std::vector<std::uint32_t> target;    // state numbers, from 1
  std::vector<double> value;
};

// Reads the header of a ".arm" file (the output type 1 and the number of
// states) and returns the number of states.
Parsed<std::uint32_t> readStateCount(std::istream& in, const std::string& name);
Parsed<std::uint32_t> readStateCountOfFile(const std::string& path);

// Reads a whole ".arm" file: the header, a line of padding spaces (absent
// when the count filled its placeholder), then one record per state in
// numbering order: the state's number, target and value lines with
// ascending targets, and 0. A negative value is accepted only in the states
// listed in deterministic (ascending state numbers).
Parsed<StateSpace> readStateSpace(std::istream& in, const std::string& name,
                                  const std::vector<std::uint32_t>& deterministic);
Parsed<StateSpace> readStateSpaceFile(const std::string& path,
                                      const std::vector<std::uint32_t>& deterministic);

}  // namespace solver

#endif
