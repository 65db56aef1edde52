#ifndef SOLVER_REWARDFILE_H_
#define SOLVER_REWARDFILE_H_

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "solver/Diagnostic.h"

namespace solver {

// The rate rewards of a ".var" file, state by state.
struct StateRewards {
  std::size_t numVariables = 0;
  std::vector<double> rate;  // the rate reward of variable v in state s at s * numVariables + v
  // Whether any state records an impulse reward for the variable: the file
  // holds one per state (of the firing that reached it first), which no
  // measure of the solver uses.
  std::vector<bool> hasImpulses;
};

// Reads a ".var" file: the names of the variables, one per line (they must
// be names, in order; the file does not count them), then one record per
// state from 1 to numStates in order: its number and, per variable, its
// impulse and rate reward.
Parsed<StateRewards> readStateRewards(std::istream& in, const std::string& name,
                                      const std::vector<std::string>& names,
                                      std::uint32_t numStates);
Parsed<StateRewards> readStateRewardFile(const std::string& path,
                                         const std::vector<std::string>& names,
                                         std::uint32_t numStates);

}  // namespace solver

#endif
