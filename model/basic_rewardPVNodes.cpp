#include "model/basic_rewardPVNodes.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "model/ram_systemSAN.h"

basic_rewardPV0Worker::basic_rewardPV0Worker() : ram_system(nullptr), flash_system(nullptr) {
  NumModelRefs = 2;
  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);
  ModelRefs[0] = &ram_system;
  ModelRefs[1] = &flash_system;
}

double basic_rewardPV0Worker::Reward_Function() {
  ram_systemSAN* ram = static_cast<ram_systemSAN*>(ram_system);
  if (ram->flash_corrupted->getMark() > 0 && ram->ram_corrupted->getMark() > 0) {
    return 1.0;
  }
  return 0.0;
}

basic_rewardPV0::basic_rewardPV0(int timeIndex) : TheModelPtr(nullptr) {
  TopModelRef = &TheModelPtr;
  const double times[] = {365.0};
  Initialize("reliability", InstantOfTimeType, 1, times, times, timeIndex, 0, 3, 2);
  AddVariableDependency("flash_corrupted", "ram_system");
  AddVariableDependency("ram_corrupted", "ram_system");
  AddModelDependency("flash_system");
}

void basic_rewardPV0::CreateWorkerList() {
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w] = newObject<basic_rewardPV0Worker>();
  }
}
