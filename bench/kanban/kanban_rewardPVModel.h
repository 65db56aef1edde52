#ifndef KANBAN_REWARDPVMODEL_H_
#define KANBAN_REWARDPVMODEL_H_

#include "Cpp/BaseClasses/PVModel.h"

// The reward model of the Kanban benchmark: the join kanbanRJ with one
// performance variable per cell, the tokens (parts) in that cell.
class kanban_rewardPVModel : public PVModel {
 public:
  // Builds the join and the variables' nodes (one per time point when
  // expandTimeArrays is true) and links them.
  explicit kanban_rewardPVModel(bool expandTimeArrays);
  // A new node for variable pv (0 to 3, cells 1 to 4) at time point
  // timeIndex; null for any other variable.
  PerformanceVariableNode* createPVNode(int pv, int timeIndex) override;
};

#endif
