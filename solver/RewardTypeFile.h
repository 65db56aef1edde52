#ifndef SOLVER_REWARDTYPEFILE_H_
#define SOLVER_REWARDTYPEFILE_H_

#include <istream>
#include <string>
#include <vector>

#include "solver/Diagnostic.h"

namespace solver {

// One reward variable of a ".pvtype" file.
struct RewardVariable {
  std::string name;
  long long type = 0;  // 0: the value at instants of time
  struct Interval {
    double start;
    double stop;
  };
  std::vector<Interval> times;
  unsigned long line = 0;  // of its "Name:" line, for later messages
};

// Reads a ".pvtype" file: "Version:1", "NumPV:" and the count, then per
// variable "Name:", "Type:", "NumTimes:" and a "Start:"/"Stop:" pair per
// time point (times finite and not negative).
Parsed<std::vector<RewardVariable>> readRewardTypes(std::istream& in, const std::string& name);
Parsed<std::vector<RewardVariable>> readRewardTypeFile(const std::string& path);

}  // namespace solver

#endif
