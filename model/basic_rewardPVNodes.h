#ifndef BASIC_REWARDPVNODES_H_
#define BASIC_REWARDPVNODES_H_

#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "Cpp/BaseClasses/PerformanceVariableWorker.h"

class BaseModelClass;

// Worker of "reliability": 1 in a marking where the RAM holds corrupted
// data and the flash memory is corrupted, else 0.
class basic_rewardPV0Worker : public InstantOfTime {
 public:
  // Set by the node through ModelRefs, in dependency order.
  BaseModelClass* ram_system;
  BaseModelClass* flash_system;

  basic_rewardPV0Worker();
  double Reward_Function() override;
};

// The performance variable "reliability", an instant-of-time reward at
// time 365 over the places flash_corrupted and ram_corrupted of ram_system.
class basic_rewardPV0 : public PerformanceVariableNode {
 public:
  BaseModelClass* TheModelPtr;  // the composed model; set through TopModelRef

  // timeIndex selects the time point (there is one).
  explicit basic_rewardPV0(int timeIndex);
  void CreateWorkerList() override;
};

#endif
