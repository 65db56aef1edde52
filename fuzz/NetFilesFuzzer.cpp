// Fuzzes the readers of a net and the files beside it. The input holds the
// PNML document, the timing file and the reward file, separated by NUL
// bytes (missing parts are empty). Each reader must return a value that
// keeps its promises (no arc of weight 0; immediate weights that share out
// without overflow) or a diagnostic that names the file and says what is
// wrong; a timing or reward file is read only for a net that was read.
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "Cpp/BaseClasses/WeightTotal.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"
#include "netimport/NetLimits.h"
#include "netimport/PnmlReader.h"
#include "netimport/RewardFile.h"
#include "netimport/TimingFile.h"

namespace {

template <class T>
bool accepted(const ReadResult<T>& result, const char* fileName) {
  if (!result.ok()) {
    require(result.error.file == fileName && !result.error.message.empty());
  }
  return result.ok();
}

bool inRange(int value, int low, int high) { return value >= low && value <= high; }

// What every net read must hold: ids unique, markings and weights within a
// place's range, arcs between a place and a transition of the net.
void checkNet(const NetDescription& net) {
  const int numPlaces = static_cast<int>(net.places.size());
  const int numTransitions = static_cast<int>(net.transitions.size());
  require(numPlaces > 0 && numPlaces <= net_limits::kMaxPlaces);
  require(numTransitions <= net_limits::kMaxTransitions);
  std::set<std::string> ids;
  for (const NetDescription::PlaceEntry& place : net.places) {
    require(ids.insert(place.id).second);
    require(inRange(place.initialMarking, 0, net_limits::kMaxMarking));
  }
  for (const NetDescription::TransitionEntry& transition : net.transitions) {
    require(ids.insert(transition.id).second);
  }
  for (const NetDescription::ArcEntry& arc : net.arcs) {
    require(inRange(arc.place, 0, numPlaces - 1));
    require(inRange(arc.transition, 0, numTransitions - 1));
    require(inRange(arc.weight, 1, net_limits::kMaxMarking));
  }
}

// The weights of a net's immediate transitions, however large, share out
// as the generator shares them: finite shares from 0 to 1 that sum to 1.
void checkWeights(const NetDescription& net) {
  WeightTotal total;
  for (const NetDescription::TransitionEntry& transition : net.transitions) {
    if (transition.distribution == Instantaneous) {
      require(std::isfinite(transition.weight) && transition.weight > 0);
      total.add(transition.weight);
    }
  }
  if (total.empty()) {
    return;
  }
  if (total.overflowed()) {
    total.rescale();
    for (const NetDescription::TransitionEntry& transition : net.transitions) {
      if (transition.distribution == Instantaneous) total.add(transition.weight);
    }
  }
  double sum = 0.0;
  for (const NetDescription::TransitionEntry& transition : net.transitions) {
    if (transition.distribution == Instantaneous) {
      const double share = total.share(transition.weight);
      require(share >= 0.0 && share <= 1.0);
      sum += share;
    }
  }
  require(std::fabs(sum - 1.0) < 1e-9);
}

void checkRewards(const std::vector<NetRewardVariable>& variables, const NetDescription& net) {
  for (const NetRewardVariable& variable : variables) {
    require(!variable.places.empty() && !variable.times.empty());
    for (int place : variable.places) {
      require(inRange(place, 0, static_cast<int>(net.places.size()) - 1));
    }
    for (double time : variable.times) {
      require(time >= 0);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> parts = partsOf(data, size, 3);
  ReadResult<NetDescription> net = parsePnml(parts[0], "net.pnml");
  if (!accepted(net, "net.pnml")) {
    return 0;
  }
  checkNet(*net.value);
  ReadResult<NetDescription> timed = parseTimings(parts[1], "net.timing", *net.value);
  if (accepted(timed, "net.timing")) {
    checkNet(*timed.value);
    checkWeights(*timed.value);
  }
  ReadResult<std::vector<NetRewardVariable>> rewards =
      parseRewards(parts[2], "net.rewards", *net.value);
  if (accepted(rewards, "net.rewards")) {
    checkRewards(*rewards.value, *net.value);
  }
  return 0;
}
