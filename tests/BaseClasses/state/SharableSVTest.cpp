#include <gtest/gtest.h>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/state/Place.h"

namespace {

// An affect arc as a model records it, on both ends.
void affect(Place& place, BaseActionClass& action) {
  place.appendAffectingAction(&action);
  action.addAffectedSV(&place);
}

void enable(Place& place, BaseActionClass& action) {
  place.appendEnabledAction(&action);
  action.addEnablingSV(&place);
}

TEST(SharableSVTest, SharedPlacesUseOneCellThroughEveryHolder) {
  Place j("j", 0);
  Place a("a", 5);
  short* cached = nullptr;  // an activity's cached marking pointer
  a.addHolder(&cached);
  EXPECT_EQ(a.Value, cached);
  EXPECT_EQ(3, a.getSharingCount());

  j.ShareWith(&a);
  EXPECT_EQ(5, j.getMark());
  EXPECT_EQ(5, a.getMark());
  a.setMark(7);
  EXPECT_EQ(7, j.getMark());
  EXPECT_EQ(j.Value, a.Value);
  EXPECT_EQ(j.Value, a.Mark);
  EXPECT_EQ(j.Value, cached);
  *cached = 8;
  EXPECT_EQ(8, j.getMark());

  EXPECT_FALSE(a.getStored());
  EXPECT_TRUE(j.getStored());
  EXPECT_EQ(&j, a.getOwner());
  EXPECT_EQ(5, j.getSharingCount());
  EXPECT_EQ(j.AffectingActions, a.AffectingActions);
  EXPECT_EQ(j.EnabledActions, a.EnabledActions);
}

// A net's table of marking cells: one holder for all the arcs that read a
// place, counted as that many, and following the place into its group.
TEST(SharableSVTest, AHolderForManyReadersCountsAsManyAndFollowsTheCell) {
  Place j("j", 0);
  Place a("a", 5);
  short* cell = nullptr;
  a.addHolder(&cell, 4);
  EXPECT_EQ(a.Value, cell);
  EXPECT_EQ(6, a.getSharingCount());
  j.ShareWith(&a);
  EXPECT_EQ(j.Value, cell);
  EXPECT_EQ(5, *cell);
  EXPECT_EQ(8, j.getSharingCount());
}

TEST(SharableSVTest, SharingWithSeveralChildrenMergesTheActionLists) {
  BaseActionClass onlyA, both, readsB;
  Place j("j");
  Place a("a", 1);
  Place b("b", 2);
  affect(a, onlyA);
  affect(a, both);
  affect(b, both);
  enable(b, readsB);

  j.ShareWith(&a);
  j.ShareWith(&b);

  EXPECT_EQ(2, j.getMark());  // the value of the last child shared
  EXPECT_EQ(2, a.getMark());
  ASSERT_EQ(2, j.getNumAffectingActions());
  EXPECT_TRUE(j.getAffectingActions()->contains(&onlyA));
  EXPECT_TRUE(j.getAffectingActions()->contains(&both));
  ASSERT_EQ(1, j.getNumEnabledActions());
  EXPECT_EQ(&readsB, j.getEnabledAction(0));
  for (BaseActionClass* action : {&onlyA, &both}) {
    ASSERT_EQ(1, action->AffectedSVs.getNumItems());
    EXPECT_EQ(&j, action->AffectedSVs[0]);
  }
  ASSERT_EQ(1, readsB.EnablingSVs.getNumItems());
  EXPECT_EQ(&j, readsB.EnablingSVs[0]);
  EXPECT_FALSE(b.getStored());
  EXPECT_EQ(6, j.getSharingCount());

  // An arc added to a member later reaches the group.
  BaseActionClass late;
  a.appendAffectingAction(&late);
  EXPECT_TRUE(j.getAffectingActions()->contains(&late));
}

TEST(SharableSVTest, MemberSharingWithAStoredVariableLetsItsOwnerAbsorbIt) {
  Place j("j");
  Place a("a");
  Place c("c", 9);
  j.ShareWith(&a);
  j.setMark(4);
  a.ShareWith(&c);            // this not stored, other stored
  EXPECT_EQ(4, c.getMark());  // the owner keeps its value
  EXPECT_EQ(j.Value, c.Value);
  EXPECT_FALSE(c.getStored());
  EXPECT_EQ(&j, c.getOwner());
  EXPECT_EQ(6, j.getSharingCount());
}

TEST(SharableSVTest, StoredVariableSharingWithAMemberIsAbsorbedByTheOwner) {
  Place j("j");
  Place a("a");
  Place c("c", 9);
  j.ShareWith(&a);
  j.setMark(4);
  c.ShareWith(&a);  // this stored, other not stored: c's value is lost
  EXPECT_EQ(4, c.getMark());
  EXPECT_FALSE(c.getStored());
  EXPECT_TRUE(j.getStored());
  EXPECT_EQ(&j, c.getOwner());
}

TEST(SharableSVTest, TwoMembersJoinTheirGroupsUnderTheBusierOwner) {
  BaseActionClass first, second;
  Place j1("j1");
  Place a1("a1");
  Place j2("j2");
  Place a2("a2");
  Place b2("b2");
  affect(a1, first);
  affect(a2, second);
  j1.ShareWith(&a1);
  j2.ShareWith(&a2);
  j2.ShareWith(&b2);
  j1.setMark(1);
  j2.setMark(2);

  // a1 counts 2, j2 counts 6: j2 absorbs a1's owner j1.
  a1.ShareWith(&a2);
  EXPECT_FALSE(j1.getStored());
  EXPECT_TRUE(j2.getStored());
  EXPECT_EQ(10, j2.getSharingCount());
  EXPECT_EQ(2, a1.getMark());
  EXPECT_EQ(j2.Value, j1.Value);
  EXPECT_EQ(j2.Value, a1.Mark);
  EXPECT_EQ(&j2, a1.getOwner());
  EXPECT_EQ(j2.AffectingActions, a1.AffectingActions);
  EXPECT_TRUE(j2.getAffectingActions()->contains(&first));
  EXPECT_TRUE(j2.getAffectingActions()->contains(&second));
  // first named j1, which is no longer stored, and now names j2.
  ASSERT_EQ(1, first.AffectedSVs.getNumItems());
  EXPECT_EQ(&j2, first.AffectedSVs[0]);
}

TEST(SharableSVTest, SharingWithinOneGroupChangesNothing) {
  Place j("j");
  Place a("a", 3);
  j.ShareWith(&a);
  a.ShareWith(&j);
  j.ShareWith(&a);
  j.ShareWith(&j);
  EXPECT_TRUE(j.getStored());
  EXPECT_EQ(4, j.getSharingCount());
  EXPECT_EQ(3, a.getMark());
}

TEST(SharableSVTest, OwnerMayBeDestroyedBeforeItsMembers) {
  Place* j = new Place("j");
  Place a("a");
  j->ShareWith(&a);
  delete j;  // a neither owns the cell nor the lists: nothing freed twice
}

}  // namespace
