#ifndef JOB_SHOP_REWARDPVMODEL_H_
#define JOB_SHOP_REWARDPVMODEL_H_

#include "Cpp/BaseClasses/PVModel.h"

// The reward model of the job shop: the join job_shopRJ with the queue
// length of each machine ("queue_length1" to "queue_length4") and the
// impulse variable "rejections".
class job_shop_rewardPVModel : public PVModel {
 public:
  // Builds the join and the variables' nodes (one per time point when
  // expandTimeArrays is true) and links them.
  explicit job_shop_rewardPVModel(bool expandTimeArrays);
  // A new node for variable pv (0 to 4) at time point timeIndex; null for
  // any other variable.
  PerformanceVariableNode* createPVNode(int pv, int timeIndex) override;
};

#endif
