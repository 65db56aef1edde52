#include "netimport/NetFiles.h"

#include <utility>
#include <vector>

#include "netimport/PnmlReader.h"
#include "netimport/RewardFile.h"
#include "netimport/TimingFile.h"

namespace {

// The first immediate transition that the initial marking enables, or null.
const NetDescription::TransitionEntry* enabledInitially(const NetDescription& net) {
  std::vector<bool> blocked(net.transitions.size(), false);
  for (const NetDescription::ArcEntry& arc : net.arcs) {
    if (arc.input && net.places[arc.place].initialMarking < arc.weight) {
      blocked[arc.transition] = true;
    }
  }
  for (std::size_t t = 0; t < net.transitions.size(); t++) {
    if (net.transitions[t].distribution == Instantaneous && !blocked[t]) {
      return &net.transitions[t];
    }
  }
  return nullptr;
}

}  // namespace

ReadResult<LoadedNet> loadNet(const std::string& pnmlPath, const std::string& timingPath,
                              const std::string& rewardPath) {
  ReadResult<NetDescription> net = readPnmlFile(pnmlPath);
  if (net.ok() && !timingPath.empty()) {
    net = readTimingFile(timingPath, std::move(*net.value));
  }
  if (!net.ok()) {
    return ReadResult<LoadedNet>::failure(net.error);
  }
  // Such a marking vanishes; the generator needs a state to start from.
  if (const NetDescription::TransitionEntry* immediate = enabledInitially(*net.value)) {
    return ReadResult<LoadedNet>::failure(
        {timingPath, 0, 0,
         "the initial marking enables the immediate transition '" + immediate->id +
             "': a net must start in a marking where no immediate transition is enabled"});
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
