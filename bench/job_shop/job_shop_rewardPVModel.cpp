#include "bench/job_shop/job_shop_rewardPVModel.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "bench/job_shop/job_shopRJ.h"
#include "bench/job_shop/job_shop_rewardPVNodes.h"

job_shop_rewardPVModel::job_shop_rewardPVModel(bool expandTimeArrays) {
  ChildModel = newObject<job_shopRJ>();
  DefineName("job_shop_rewardPVModel");
  CreatePVList(5, expandTimeArrays);
  Initialize();
}

PerformanceVariableNode* job_shop_rewardPVModel::createPVNode(int pv, int timeIndex) {
  switch (pv) {
    case 0:
    case 1:
    case 2:
    case 3:
      return newObject<job_shop_rewardQueueLengthPV>(pv + 1, timeIndex);
    case 4:
      return newObject<job_shop_rewardPV4>(timeIndex);
  }
  return nullptr;
}
