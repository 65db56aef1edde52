#include "bench/memory_array/memory_array_rewardPVNodes.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "model/ram_systemSAN.h"

memory_array_rewardPV0Worker::memory_array_rewardPV0Worker() : ram_system(nullptr) {
  NumModelRefs = 1;
  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);
  ModelRefs[0] = &ram_system;
}

double memory_array_rewardPV0Worker::Reward_Function() {
  ram_systemSAN* ram = static_cast<ram_systemSAN*>(ram_system);
  if (ram->ram_corrupted->getMark() > 0) {
    return 1.0;
  }
  return 0.0;
}

memory_array_rewardPV0::memory_array_rewardPV0(int timeIndex) : TheModelPtr(nullptr) {
  TopModelRef = &TheModelPtr;
  const double times[] = {365.0};
  Initialize("corrupted_rams", InstantOfTimeType, 1, times, times, timeIndex, 0, 1, 1);
  AddVariableDependency("ram_corrupted", "ram_system");
}

void memory_array_rewardPV0::CreateWorkerList() {
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w] = newObject<memory_array_rewardPV0Worker>();
  }
}
