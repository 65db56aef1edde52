#include "model/basic_rewardPVModel.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "model/basic_modelRJ.h"
#include "model/basic_rewardPVNodes.h"

basic_rewardPVModel::basic_rewardPVModel(bool expandTimeArrays) {
  ChildModel = newObject<basic_modelRJ>();
  DefineName("basic_rewardPVModel");
  CreatePVList(1, expandTimeArrays);
  Initialize();
}

PerformanceVariableNode* basic_rewardPVModel::createPVNode(int pv, int timeIndex) {
  if (pv == 0) {
    return newObject<basic_rewardPV0>(timeIndex);
  }
  return nullptr;
}
