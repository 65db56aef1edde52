#ifndef JOB_SHOP_REWARDPVNODES_H_
#define JOB_SHOP_REWARDPVNODES_H_

#include "Cpp/BaseClasses/ImpulseNodeClass.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "Cpp/BaseClasses/PerformanceVariableWorker.h"

class BaseModelClass;

// Worker of a "queue_length<i>": the number of parts in machine i's queue.
class job_shop_rewardQueueLengthPVWorker : public InstantOfTime {
 public:
  BaseModelClass* machine;  // set by the node through ModelRefs

  job_shop_rewardQueueLengthPVWorker();
  double Reward_Function() override;
};

// The performance variables "queue_length1" to "queue_length4" (variables 0
// to 3), each an instant-of-time reward at time 100 over the queue q<i> of
// machine<i>.
class job_shop_rewardQueueLengthPV : public PerformanceVariableNode {
 public:
  BaseModelClass* TheModelPtr;  // the composed model; set through TopModelRef

  // machine (1 to 4) selects the machine, timeIndex the time point (there is
  // one).
  job_shop_rewardQueueLengthPV(int machine, int timeIndex);
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
