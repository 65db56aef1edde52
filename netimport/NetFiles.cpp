#include "netimport/NetFiles.h"

#include <utility>

#include "netimport/PnmlReader.h"
#include "netimport/RewardFile.h"
#include "netimport/TimingFile.h"

ReadResult<LoadedNet> loadNet(const std::string& pnmlPath, const std::string& timingPath,
                              const std::string& rewardPath) {
  ReadResult<NetDescription> net = readPnmlFile(pnmlPath);
  if (net.ok() && !timingPath.empty()) {
    net = readTimingFile(timingPath, std::move(*net.value));
  }
  if (!net.ok()) {
    return ReadResult<LoadedNet>::failure(net.error);
  }
  LoadedNet loaded{std::move(*net.value), {}};
  if (!rewardPath.empty()) {
    ReadResult<std::vector<NetRewardVariable>> rewards = readRewardFile(rewardPath, loaded.net);
    if (!rewards.ok()) {
      return ReadResult<LoadedNet>::failure(rewards.error);
    }
    loaded.rewards = std::move(*rewards.value);
  }
  return ReadResult<LoadedNet>::success(std::move(loaded));
}
