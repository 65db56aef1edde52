#include "bench/job_shop/job_shop_rewardPVNodes.h"

#include <string>

#include "Cpp/BaseClasses/Allocate.h"
#include "bench/job_shop/machineSAN.h"

job_shop_rewardQueueLengthPVWorker::job_shop_rewardQueueLengthPVWorker() : machine(nullptr) {
  NumModelRefs = 1;
  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);
  ModelRefs[0] = &machine;
}

double job_shop_rewardQueueLengthPVWorker::Reward_Function() {
  return static_cast<machineSAN*>(machine)->queue->getMark();
}

job_shop_rewardQueueLengthPV::job_shop_rewardQueueLengthPV(int machine, int timeIndex)
    : TheModelPtr(nullptr) {
  TopModelRef = &TheModelPtr;
  const double times[] = {100.0};
  const std::string number = std::to_string(machine);
  const std::string name = "queue_length" + number;
  Initialize(name.c_str(), InstantOfTimeType, 1, times, times, timeIndex, 0, 1, 1);
  AddVariableDependency(("q" + number).c_str(), ("machine" + number).c_str());
}

void job_shop_rewardQueueLengthPV::CreateWorkerList() {
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w] = newObject<job_shop_rewardQueueLengthPVWorker>();
  }
}

job_shop_rewardPV4Impulse0::job_shop_rewardPV4Impulse0() : dispatcher(nullptr) {
  NumModelDependencies = 1;
  NumModelRefs = 1;
  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);
  ModelRefs[0] = &dispatcher;
}

void job_shop_rewardPV4Impulse0::EvaluateImpulse() { Value = 1.0; }

ImpulseNodeClass** job_shop_rewardPV4Impulse0::CreateImpulseWorkers(int n) {
  ImpulseNodeClass** workers = newArray<ImpulseNodeClass*>(n);
  for (int w = 0; w < n; w++) {
    workers[w] = newObject<job_shop_rewardPV4Impulse0>();
  }
  return workers;
}

job_shop_rewardPV4::job_shop_rewardPV4(int timeIndex) : TheModelPtr(nullptr) {
  TopModelRef = &TheModelPtr;
  const double times[] = {100.0};
  Initialize("rejections", InstantOfTimeType, 1, times, times, timeIndex, 1, 0, 0);
  AddImpulse("reject", "dispatcher", &Impulse0);
}

// The variable reads no marking, so it has no workers.
void job_shop_rewardPV4::CreateWorkerList() {}
