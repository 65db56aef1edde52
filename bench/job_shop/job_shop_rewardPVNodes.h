#ifndef JOB_SHOP_REWARDPVNODES_H_
#define JOB_SHOP_REWARDPVNODES_H_

#include "Cpp/BaseClasses/ImpulseNodeClass.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "Cpp/BaseClasses/PerformanceVariableWorker.h"

class BaseModelClass;

// Worker of "queue_length1": the number of parts in machine 1's queue.
class job_shop_rewardPV0Worker : public InstantOfTime {
 public:
  BaseModelClass* machine1;  // set by the node through ModelRefs

  job_shop_rewardPV0Worker();
  double Reward_Function() override;
};

// The performance variable "queue_length1", an instant-of-time reward at
// time 100 over the place q1 of machine1.
class job_shop_rewardPV0 : public PerformanceVariableNode {
 public:
  BaseModelClass* TheModelPtr;  // the composed model; set through TopModelRef

  // timeIndex selects the time point (there is one).
  explicit job_shop_rewardPV0(int timeIndex);
  void CreateWorkerList() override;
};

// Worker of "queue_length2": the number of parts in machine 2's queue.
class job_shop_rewardPV1Worker : public InstantOfTime {
 public:
  BaseModelClass* machine2;  // set by the node through ModelRefs

  job_shop_rewardPV1Worker();
  double Reward_Function() override;
};

// The performance variable "queue_length2", an instant-of-time reward at
// time 100 over the place q2 of machine2.
class job_shop_rewardPV1 : public PerformanceVariableNode {
 public:
  BaseModelClass* TheModelPtr;  // the composed model; set through TopModelRef

  // timeIndex selects the time point (there is one).
  explicit job_shop_rewardPV1(int timeIndex);
  void CreateWorkerList() override;
};

// Worker of "queue_length3": the number of parts in machine 3's queue.
class job_shop_rewardPV2Worker : public InstantOfTime {
 public:
  BaseModelClass* machine3;  // set by the node through ModelRefs

  job_shop_rewardPV2Worker();
  double Reward_Function() override;
};

// The performance variable "queue_length3", an instant-of-time reward at
// time 100 over the place q3 of machine3.
class job_shop_rewardPV2 : public PerformanceVariableNode {
 public:
  BaseModelClass* TheModelPtr;  // the composed model; set through TopModelRef

  // timeIndex selects the time point (there is one).
  explicit job_shop_rewardPV2(int timeIndex);
  void CreateWorkerList() override;
};

// Worker of "queue_length4": the number of parts in machine 4's queue.
class job_shop_rewardPV3Worker : public InstantOfTime {
 public:
  BaseModelClass* machine4;  // set by the node through ModelRefs

  job_shop_rewardPV3Worker();
  double Reward_Function() override;
};

// The performance variable "queue_length4", an instant-of-time reward at
// time 100 over the place q4 of machine4.
class job_shop_rewardPV3 : public PerformanceVariableNode {
 public:
  BaseModelClass* TheModelPtr;  // the composed model; set through TopModelRef

  // timeIndex selects the time point (there is one).
  explicit job_shop_rewardPV3(int timeIndex);
  void CreateWorkerList() override;
};

// The impulse of "rejections": 1 for every rejected part.
class job_shop_rewardPV4Impulse0 : public ImpulseNodeClass {
 public:
  BaseModelClass* dispatcher;  // set by the node through ModelRefs

  job_shop_rewardPV4Impulse0();
  void EvaluateImpulse() override;
  ImpulseNodeClass** CreateImpulseWorkers(int n) override;
};

// The performance variable "rejections": an impulse of 1 whenever reject of
// the dispatcher fires; it reads no marking, so its rate reward is 0.
class job_shop_rewardPV4 : public PerformanceVariableNode {
 public:
  BaseModelClass* TheModelPtr;          // the composed model; set through TopModelRef
  job_shop_rewardPV4Impulse0 Impulse0;  // the prototype of the impulse's workers

  // timeIndex selects the time point (there is one).
  explicit job_shop_rewardPV4(int timeIndex);
  void CreateWorkerList() override;
};

#endif
