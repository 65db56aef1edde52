#ifndef KANBAN_REWARDPVNODES_H_
#define KANBAN_REWARDPVNODES_H_

#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "Cpp/BaseClasses/PerformanceVariableWorker.h"

class BaseModelClass;

// Worker of "cell1_tokens": the tokens (parts) in cell 1, x1 + y1 + z1.
class kanban_rewardPV0Worker : public InstantOfTime {
 public:
  BaseModelClass* cell1;  // set by the node through ModelRefs

  kanban_rewardPV0Worker();
  double Reward_Function() override;
};

// The performance variable "cell1_tokens", an instant-of-time reward at
// time 365 over the places x1, y1 and z1 of cell1.
class kanban_rewardPV0 : public PerformanceVariableNode {
 public:
  BaseModelClass* TheModelPtr;  // the composed model; set through TopModelRef

  // timeIndex selects the time point (there is one).
  explicit kanban_rewardPV0(int timeIndex);
  void CreateWorkerList() override;
};

// Worker of "cell2_tokens": the tokens (parts) in cell 2, x2 + y2 + z2.
class kanban_rewardPV1Worker : public InstantOfTime {
 public:
  BaseModelClass* cell2;  // set by the node through ModelRefs

  kanban_rewardPV1Worker();
  double Reward_Function() override;
};

// The performance variable "cell2_tokens", an instant-of-time reward at
// time 365 over the places x2, y2 and z2 of cell2.
class kanban_rewardPV1 : public PerformanceVariableNode {
 public:
  BaseModelClass* TheModelPtr;  // the composed model; set through TopModelRef

  // timeIndex selects the time point (there is one).
  explicit kanban_rewardPV1(int timeIndex);
  void CreateWorkerList() override;
};

// Worker of "cell3_tokens": the tokens (parts) in cell 3, x3 + y3 + z3.
class kanban_rewardPV2Worker : public InstantOfTime {
 public:
  BaseModelClass* cell3;  // set by the node through ModelRefs

  kanban_rewardPV2Worker();
  double Reward_Function() override;
};

// The performance variable "cell3_tokens", an instant-of-time reward at
// time 365 over the places x3, y3 and z3 of cell3.
class kanban_rewardPV2 : public PerformanceVariableNode {
 public:
  BaseModelClass* TheModelPtr;  // the composed model; set through TopModelRef

  // timeIndex selects the time point (there is one).
  explicit kanban_rewardPV2(int timeIndex);
  void CreateWorkerList() override;
};

// Worker of "cell4_tokens": the tokens (parts) in cell 4, x4 + y4 + z4.
class kanban_rewardPV3Worker : public InstantOfTime {
 public:
  BaseModelClass* cell4;  // set by the node through ModelRefs

  kanban_rewardPV3Worker();
  double Reward_Function() override;
};

// The performance variable "cell4_tokens", an instant-of-time reward at
// time 365 over the places x4, y4 and z4 of cell4.
class kanban_rewardPV3 : public PerformanceVariableNode {
 public:
  BaseModelClass* TheModelPtr;  // the composed model; set through TopModelRef

  // timeIndex selects the time point (there is one).
  explicit kanban_rewardPV3(int timeIndex);
  void CreateWorkerList() override;
};

#endif
