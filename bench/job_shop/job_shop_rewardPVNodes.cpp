#include "bench/job_shop/job_shop_rewardPVNodes.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "bench/job_shop/machine1SAN.h"
#include "bench/job_shop/machine2SAN.h"
#include "bench/job_shop/machine3SAN.h"
#include "bench/job_shop/machine4SAN.h"

job_shop_rewardPV0Worker::job_shop_rewardPV0Worker() : machine1(nullptr) {
  NumModelRefs = 1;
  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);
  ModelRefs[0] = &machine1;
}

double job_shop_rewardPV0Worker::Reward_Function() {
  return static_cast<machine1SAN*>(machine1)->q1->getMark();
}

job_shop_rewardPV0::job_shop_rewardPV0(int timeIndex) : TheModelPtr(nullptr) {
  TopModelRef = &TheModelPtr;
  const double times[] = {100.0};
  Initialize("queue_length1", InstantOfTimeType, 1, times, times, timeIndex, 0, 1, 1);
  AddVariableDependency("q1", "machine1");
}

void job_shop_rewardPV0::CreateWorkerList() {
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w] = newObject<job_shop_rewardPV0Worker>();
  }
}

job_shop_rewardPV1Worker::job_shop_rewardPV1Worker() : machine2(nullptr) {
  NumModelRefs = 1;
  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);
  ModelRefs[0] = &machine2;
}

double job_shop_rewardPV1Worker::Reward_Function() {
  return static_cast<machine2SAN*>(machine2)->q2->getMark();
}

job_shop_rewardPV1::job_shop_rewardPV1(int timeIndex) : TheModelPtr(nullptr) {
  TopModelRef = &TheModelPtr;
  const double times[] = {100.0};
  Initialize("queue_length2", InstantOfTimeType, 1, times, times, timeIndex, 0, 1, 1);
  AddVariableDependency("q2", "machine2");
}

void job_shop_rewardPV1::CreateWorkerList() {
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w] = newObject<job_shop_rewardPV1Worker>();
  }
}

job_shop_rewardPV2Worker::job_shop_rewardPV2Worker() : machine3(nullptr) {
  NumModelRefs = 1;
  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);
  ModelRefs[0] = &machine3;
}

double job_shop_rewardPV2Worker::Reward_Function() {
  return static_cast<machine3SAN*>(machine3)->q3->getMark();
}

job_shop_rewardPV2::job_shop_rewardPV2(int timeIndex) : TheModelPtr(nullptr) {
  TopModelRef = &TheModelPtr;
  const double times[] = {100.0};
  Initialize("queue_length3", InstantOfTimeType, 1, times, times, timeIndex, 0, 1, 1);
  AddVariableDependency("q3", "machine3");
}

void job_shop_rewardPV2::CreateWorkerList() {
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w] = newObject<job_shop_rewardPV2Worker>();
  }
}

job_shop_rewardPV3Worker::job_shop_rewardPV3Worker() : machine4(nullptr) {
  NumModelRefs = 1;
  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);
  ModelRefs[0] = &machine4;
}

double job_shop_rewardPV3Worker::Reward_Function() {
  return static_cast<machine4SAN*>(machine4)->q4->getMark();
}

job_shop_rewardPV3::job_shop_rewardPV3(int timeIndex) : TheModelPtr(nullptr) {
  TopModelRef = &TheModelPtr;
  const double times[] = {100.0};
  Initialize("queue_length4", InstantOfTimeType, 1, times, times, timeIndex, 0, 1, 1);
  AddVariableDependency("q4", "machine4");
}

void job_shop_rewardPV3::CreateWorkerList() {
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w] = newObject<job_shop_rewardPV3Worker>();
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
