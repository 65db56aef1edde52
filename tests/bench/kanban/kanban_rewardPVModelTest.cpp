#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "kanban.h"

namespace {

std::set<std::string> affectingNames(const PerformanceVariableNode& node) {
  std::set<std::string> names;
  for (int k = 0; k < node.NumAffectingActions; k++) {
    names.insert(node.AffectingActions[k]->Name);
  }
  return names;
}

TEST(KanbanRewardModelTest, EachCellsTokensAreOneVariableOverThatCell) {
  kanban_rewardPVModel model(false);
  kanbanRJ& join = *static_cast<kanbanRJ*>(model.ChildModel);
  ASSERT_EQ(4, model.NumPVs);
  BaseModelClass* cells[] = {join.cell1, join.cell2, join.cell3, join.cell4};
  for (int k = 0; k < 4; k++) {
    PerformanceVariableNode& node = *model.PVList[k];
    EXPECT_EQ("cell" + std::to_string(k + 1) + "_tokens", node.Name);
    ASSERT_EQ(1, node.NumWorkers);
    ASSERT_EQ(1, node.Workers[0]->NumModelRefs);
    EXPECT_EQ(cells[k], *node.Workers[0]->ModelRefs[0]);
  }
  EXPECT_EQ(nullptr, model.createPVNode(4, 0));
}

TEST(KanbanRewardModelTest, TransfersBetweenCellsAffectBothCellsTokens) {
  kanban_rewardPVModel model(false);
  // s1 and s2 reach the places of other cells through their shared copies.
  EXPECT_EQ(std::set<std::string>({"enter", "redo1", "ok1", "back1", "s1"}),
            affectingNames(*model.PVList[0]));
  EXPECT_EQ(std::set<std::string>({"s1", "redo2", "ok2", "back2", "s2"}),
            affectingNames(*model.PVList[1]));
  EXPECT_EQ(std::set<std::string>({"s1", "redo3", "ok3", "back3", "s2"}),
            affectingNames(*model.PVList[2]));
  EXPECT_EQ(std::set<std::string>({"s2", "redo4", "ok4", "back4", "leave"}),
            affectingNames(*model.PVList[3]));
}

}  // namespace
