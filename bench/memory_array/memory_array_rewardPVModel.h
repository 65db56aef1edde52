#ifndef MEMORY_ARRAY_REWARDPVMODEL_H_
#define MEMORY_ARRAY_REWARDPVMODEL_H_

#include "Cpp/BaseClasses/PVModel.h"

// The reward model of the memory array: the join memory_arrayRJ with the one
// performance variable "corrupted_rams".
class memory_array_rewardPVModel : public PVModel {
 public:
  // Builds the join and the variable's nodes (one per time point when
  // expandTimeArrays is true) and links them.
  explicit memory_array_rewardPVModel(bool expandTimeArrays);
  // A new node for variable 0 at time point timeIndex; null for any other
  // variable.
  PerformanceVariableNode* createPVNode(int pv, int timeIndex) override;
};

#endif
