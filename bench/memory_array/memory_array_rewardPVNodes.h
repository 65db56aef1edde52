#ifndef MEMORY_ARRAY_REWARDPVNODES_H_
#define MEMORY_ARRAY_REWARDPVNODES_H_

#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "Cpp/BaseClasses/PerformanceVariableWorker.h"

class BaseModelClass;

// Worker of "corrupted_rams" for one RAM: 1 in a marking where that RAM
// holds corrupted data, else 0.
class memory_array_rewardPV0Worker : public InstantOfTime {
 public:
  BaseModelClass* ram_system;  // set by the node through ModelRefs

  memory_array_rewardPV0Worker();
  double Reward_Function() override;
};

// The performance variable "corrupted_rams", an instant-of-time reward at
// time 365 over the place ram_corrupted of ram_system. It has one worker
// per RAM instance, so its value is the number of corrupted RAMs.
class memory_array_rewardPV0 : public PerformanceVariableNode {
 public:
  BaseModelClass* TheModelPtr;  // the composed model; set through TopModelRef

  // timeIndex selects the time point (there is one).
  explicit memory_array_rewardPV0(int timeIndex);
  void CreateWorkerList() override;
};

#endif
