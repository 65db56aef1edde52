#ifndef NETIMPORT_NETFILES_H_
#define NETIMPORT_NETFILES_H_

#include <string>
#include <vector>

#include "Cpp/BaseClasses/NetDescription.h"
#include "netimport/Diagnostic.h"

// A net with its timing applied and the reward variables over it.
struct LoadedNet {
  NetDescription net;
  std::vector<NetRewardVariable> rewards;
};

// Reads the PNML file, then the timing file and the reward file when they
// are named (not empty); the first problem found in any of them otherwise,
// an initial marking that enables an immediate transition included.
ReadResult<LoadedNet> loadNet(const std::string& pnmlPath, const std::string& timingPath,
                              const std::string& rewardPath);

#endif
