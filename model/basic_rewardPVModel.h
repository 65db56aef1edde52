#ifndef BASIC_REWARDPVMODEL_H_
#define BASIC_REWARDPVMODEL_H_

#include "Cpp/BaseClasses/PVModel.h"

// The reward model of this build: the join basic_modelRJ with the one
// performance variable "reliability".
class basic_rewardPVModel : public PVModel {
 public:
  // Builds the join and the variable's nodes (one per time point when
  // expandTimeArrays is true) and links them.
  explicit basic_rewardPVModel(bool expandTimeArrays);
  // A new node for variable 0 at time point timeIndex; null for any other
  // variable.
  PerformanceVariableNode* createPVNode(int pv, int timeIndex) override;
};

#endif
