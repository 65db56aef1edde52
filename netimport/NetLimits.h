#ifndef NETIMPORT_NETLIMITS_H_
#define NETIMPORT_NETLIMITS_H_

#include <cstddef>

// What a net and the files beside it may hold, so that no input can make
// reading or building the model cost more than these bound (README, "Limits").
namespace net_limits {

constexpr std::size_t kMaxPnmlBytes = 64 * 1024 * 1024;
constexpr std::size_t kMaxLineFileBytes = 16 * 1024 * 1024;  // timing and reward files
constexpr int kMaxPlaces = 32768;
constexpr int kMaxTransitions = 32768;
constexpr int kMaxArcs = 1048576;
constexpr int kMaxMarking = 32767;  // also the largest arc weight
constexpr int kMaxElementDepth = 256;
constexpr int kMaxRewardVariables = 1000;
// Places named by all reward variables together: linking each to the
// transitions that change it is what a reward file costs.
constexpr int kMaxRewardPlaces = 100000;
constexpr int kMaxTimePoints = 1000;   // per reward variable
constexpr int kMaxPriority = 1000000;  // of an immediate transition

}  // namespace net_limits

#endif
