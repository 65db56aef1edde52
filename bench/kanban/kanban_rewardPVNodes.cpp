#include "bench/kanban/kanban_rewardPVNodes.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "bench/kanban/cell1SAN.h"
#include "bench/kanban/cell2SAN.h"
#include "bench/kanban/cell3SAN.h"
#include "bench/kanban/cell4SAN.h"

kanban_rewardPV0Worker::kanban_rewardPV0Worker() : cell1(nullptr) {
  NumModelRefs = 1;
  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);
  ModelRefs[0] = &cell1;
}

double kanban_rewardPV0Worker::Reward_Function() {
  cell1SAN* cell = static_cast<cell1SAN*>(cell1);
  return cell->x1->getMark() + cell->y1->getMark() + cell->z1->getMark();
}

kanban_rewardPV0::kanban_rewardPV0(int timeIndex) : TheModelPtr(nullptr) {
  TopModelRef = &TheModelPtr;
  const double times[] = {365.0};
  Initialize("cell1_tokens", InstantOfTimeType, 1, times, times, timeIndex, 0, 1, 3);
  AddVariableDependency("x1", "cell1");
  AddVariableDependency("y1", "cell1");
  AddVariableDependency("z1", "cell1");
}

void kanban_rewardPV0::CreateWorkerList() {
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w] = newObject<kanban_rewardPV0Worker>();
  }
}

kanban_rewardPV1Worker::kanban_rewardPV1Worker() : cell2(nullptr) {
  NumModelRefs = 1;
  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);
  ModelRefs[0] = &cell2;
}

double kanban_rewardPV1Worker::Reward_Function() {
  cell2SAN* cell = static_cast<cell2SAN*>(cell2);
  return cell->x2->getMark() + cell->y2->getMark() + cell->z2->getMark();
}

kanban_rewardPV1::kanban_rewardPV1(int timeIndex) : TheModelPtr(nullptr) {
  TopModelRef = &TheModelPtr;
  const double times[] = {365.0};
  Initialize("cell2_tokens", InstantOfTimeType, 1, times, times, timeIndex, 0, 1, 3);
  AddVariableDependency("x2", "cell2");
  AddVariableDependency("y2", "cell2");
  AddVariableDependency("z2", "cell2");
}

void kanban_rewardPV1::CreateWorkerList() {
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w] = newObject<kanban_rewardPV1Worker>();
  }
}

kanban_rewardPV2Worker::kanban_rewardPV2Worker() : cell3(nullptr) {
  NumModelRefs = 1;
  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);
  ModelRefs[0] = &cell3;
}

double kanban_rewardPV2Worker::Reward_Function() {
  cell3SAN* cell = static_cast<cell3SAN*>(cell3);
  return cell->x3->getMark() + cell->y3->getMark() + cell->z3->getMark();
}

kanban_rewardPV2::kanban_rewardPV2(int timeIndex) : TheModelPtr(nullptr) {
  TopModelRef = &TheModelPtr;
  const double times[] = {365.0};
  Initialize("cell3_tokens", InstantOfTimeType, 1, times, times, timeIndex, 0, 1, 3);
  AddVariableDependency("x3", "cell3");
  AddVariableDependency("y3", "cell3");
  AddVariableDependency("z3", "cell3");
}

void kanban_rewardPV2::CreateWorkerList() {
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w] = newObject<kanban_rewardPV2Worker>();
  }
}

kanban_rewardPV3Worker::kanban_rewardPV3Worker() : cell4(nullptr) {
  NumModelRefs = 1;
  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);
  ModelRefs[0] = &cell4;
}

double kanban_rewardPV3Worker::Reward_Function() {
  cell4SAN* cell = static_cast<cell4SAN*>(cell4);
  return cell->x4->getMark() + cell->y4->getMark() + cell->z4->getMark();
}

kanban_rewardPV3::kanban_rewardPV3(int timeIndex) : TheModelPtr(nullptr) {
  TopModelRef = &TheModelPtr;
  const double times[] = {365.0};
  Initialize("cell4_tokens", InstantOfTimeType, 1, times, times, timeIndex, 0, 1, 3);
  AddVariableDependency("x4", "cell4");
  AddVariableDependency("y4", "cell4");
  AddVariableDependency("z4", "cell4");
}

void kanban_rewardPV3::CreateWorkerList() {
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w] = newObject<kanban_rewardPV3Worker>();
  }
}
