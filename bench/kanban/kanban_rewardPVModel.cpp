#include "bench/kanban/kanban_rewardPVModel.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "bench/kanban/kanbanRJ.h"
#include "bench/kanban/kanban_rewardPVNodes.h"

kanban_rewardPVModel::kanban_rewardPVModel(bool expandTimeArrays) {
  ChildModel = newObject<kanbanRJ>();
  DefineName("kanban_rewardPVModel");
  CreatePVList(4, expandTimeArrays);
  Initialize();
}

PerformanceVariableNode* kanban_rewardPVModel::createPVNode(int pv, int timeIndex) {
  switch (pv) {
    case 0:
      return newObject<kanban_rewardPV0>(timeIndex);
    case 1:
      return newObject<kanban_rewardPV1>(timeIndex);
    case 2:
      return newObject<kanban_rewardPV2>(timeIndex);
    case 3:
      return newObject<kanban_rewardPV3>(timeIndex);
  }
  return nullptr;
}
