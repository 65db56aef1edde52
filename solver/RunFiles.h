#ifndef SOLVER_RUNFILES_H_
#define SOLVER_RUNFILES_H_

#include <optional>
#include <string>
#include <vector>

#include "solver/DelayFile.h"
#include "solver/Diagnostic.h"
#include "solver/FiringFile.h"
#include "solver/ImpulseFile.h"
#include "solver/MarkingFile.h"
#include "solver/RewardFile.h"
#include "solver/RewardTypeFile.h"
#include "solver/StateSpaceFile.h"

namespace solver {

// The files of one generator run, each checked against the others as it is
// read: the reward variables and their states, the state space, and the
// optional files.
struct RunFiles {
  std::string base;  // the file names without their suffixes
  std::vector<RewardVariable> variables;
  StateSpace space;
  StateRewards rewards;
  std::optional<std::vector<DelayEnabling>> delays;  // ".det"
  std::optional<FiringTable> firings;                // ".firings"
  std::optional<MarkingTable> markings;              // ".states"
  std::optional<ImpulseTable> impulses;              // ".imp"

  std::string fileName(const char* suffix) const { return base + suffix; }
  // "state n", with its marking when the ".states" file was read.
  std::string describeState(std::uint32_t state) const;
};

// Reads base followed by ".pvtype", ".arm" and ".var" and, where they
// exist, ".det", ".firings", ".states" and ".imp".
Parsed<RunFiles> readRun(const std::string& base);

}  // namespace solver

#endif
