// Fuzzes the solver's readers on single files in any form, binary and
// zstd-compressed ones included (whose NUL bytes the runfiles target's
// input cannot hold). The first byte picks the reader: ".arm" (0), ".var"
// of the variables "a" and "b" (1), ".det" (2); the rest is the file. The
// result is the file's data, keeping the readers' promises, or a diagnostic.
#include <sstream>
#include <string>

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"
#include "solver/DelayFile.h"
#include "solver/RewardFile.h"
#include "solver/StateSpaceFile.h"

namespace {

// The state count the ".var" and ".det" files are read against.
const std::uint32_t kStates = 64;

void checkSpace(const solver::StateSpace& space) {
  require(space.rowStart.size() == static_cast<std::size_t>(space.numStates) + 1);
  require(space.rowStart.back() == space.target.size());
  require(space.target.size() == space.value.size());
  for (std::uint32_t target : space.target) {
    require(target >= 1 && target <= space.numStates);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  switch (data[0] % 3) {
    case 0: {
      const auto space = solver::readStateSpace(in, "f.arm", {1, 2, 3});
      if (space.ok()) {
        checkSpace(space.value());
      }
      break;
    }
    case 1: {
      const auto rewards = solver::readStateRewards(in, "f.var", {"a", "b"}, kStates);
      require(!rewards.ok() || rewards.value().rate.size() == 2 * kStates);
      break;
    }
    default: {
      const auto delays = solver::readDelays(in, "f.det", kStates);
      if (delays.ok()) {
        for (const solver::DelayEnabling& entry : delays.value()) {
          require(entry.delay > 0);
          for (std::uint32_t state : entry.states) {
            require(state >= 1 && state <= kStates);
          }
        }
      }
      break;
    }
  }
  return 0;
}
