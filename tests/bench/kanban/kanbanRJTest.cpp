#include <gtest/gtest.h>

#include <vector>

#include "kanban.h"
#include "tests/ModelViews.h"

namespace {

using model_views::shorts;
using model_views::stateOf;

class KanbanJoinTest : public testing::Test {
 protected:
  void SetUp() override { t = 1; }

  // Fires activity, which must be enabled.
  void fire(Activity& activity) {
    ASSERT_TRUE(activity.Enabled()) << activity.Name;
    activity.Fire();
  }

  kanbanRJ model;
  cell1SAN& cell1 = *model.cell1;
  cell2SAN& cell2 = *model.cell2;
  cell3SAN& cell3 = *model.cell3;
  cell4SAN& cell4 = *model.cell4;
};

TEST_F(KanbanJoinTest, TheStateHoldsEachPlaceOnceWithTheSharedPlacesLast) {
  EXPECT_EQ(16, model.NumStateVariables);
  EXPECT_EQ(32, model.StateSize());
  EXPECT_EQ(std::vector<int>({8, 4, 2, 4}),
            std::vector<int>(model.ChildStateSizes, model.ChildStateSizes + 4));
  EXPECT_EQ(shorts(std::vector<short>(16, 0)), stateOf(model));
  // The unshared places of cells 1 to 4, then w2, x2, w3, x3, z3, w4, x4,
  // each shared place written through one of its copies.
  short mark = 1;
  for (Place* place :
       {cell1.w1, cell1.x1, cell1.y1, cell1.z1, cell2.y2, cell2.z2, cell3.y3, cell4.y4, cell4.z4,
        cell1.w2, cell2.x2, cell3.w3, cell3.x3, cell2.z3, cell4.w4, cell2.x4}) {
    place->setMark(mark++);
  }
  EXPECT_EQ(shorts({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}), stateOf(model));
}

TEST_F(KanbanJoinTest, APlaceSharedByThreeCellsIsOneCell) {
  for (short* mark :
       {cell1.w3->Mark, cell2.w3->Mark, cell3.w3->Mark, cell1.s1.w3_Mark, cell2.s2.w3_Mark}) {
    EXPECT_EQ(model.w3->Value, mark);
  }
}

TEST_F(KanbanJoinTest, APartPassesThroughEveryCell) {
  fire(cell1.enter);
  fire(cell1.ok1);
  EXPECT_FALSE(cell1.enter.Enabled());  // the one token of cell 1 is in use
  fire(cell1.s1);
  EXPECT_EQ(1, cell2.x2->getMark());
  EXPECT_EQ(1, cell3.x3->getMark());
  fire(cell2.ok2);
  EXPECT_FALSE(cell2.s2.Enabled());  // cell 3's part is not finished yet
  fire(cell3.ok3);
  fire(cell2.s2);
  EXPECT_EQ(0, cell3.w3->getMark());
  EXPECT_EQ(0, cell3.z3->getMark());
  EXPECT_EQ(1, cell4.x4->getMark());
  fire(cell4.ok4);
  fire(cell4.leave);
  EXPECT_EQ(shorts(std::vector<short>(16, 0)), stateOf(model));
}

}  // namespace
