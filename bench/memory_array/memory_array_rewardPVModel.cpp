#include "bench/memory_array/memory_array_rewardPVModel.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "bench/memory_array/memory_arrayRJ.h"
#include "bench/memory_array/memory_array_rewardPVNodes.h"

memory_array_rewardPVModel::memory_array_rewardPVModel(bool expandTimeArrays) {
  ChildModel = newObject<memory_arrayRJ>();
  DefineName("memory_array_rewardPVModel");
  CreatePVList(1, expandTimeArrays);
  Initialize();
}

PerformanceVariableNode* memory_array_rewardPVModel::createPVNode(int pv, int timeIndex) {
  if (pv == 0) {
    return newObject<memory_array_rewardPV0>(timeIndex);
  }
  return nullptr;
}
