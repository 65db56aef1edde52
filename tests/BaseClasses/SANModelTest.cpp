#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <forward_list>
#include <string>

#include "Cpp/BaseClasses/PostselectGroup.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/state/Place.h"
#include "tests/BaseClasses/TestActivities.h"
#include "tests/ModelViews.h"

namespace {

using model_views::shorts;

using group_test::TestActivity;

// Places p (1) and q (2), the read-only place r; activity a reads p, b
// changes q, and twin, also named "a", reads q. b and twin form one group.
class TinySAN : public SANModel {
 public:
  Place p{"p", 1};
  Place q{"q", 2};
  Place r{"r", 7};
  TestActivity a{"a"};
  TestActivity b{"b"};
  TestActivity twin{"a"};
  PostselectGroup cases;

  TinySAN() {
    cases.initialize(2, "casesGroup");
    cases.appendGroup(&b);
    cases.appendGroup(&twin);
    BaseStateVariableClass* places[2] = {&p, &q};
    BaseStateVariableClass* readOnly[1] = {&r};
    Activity* activities[3] = {&a, &b, &twin};
    BaseGroupClass* groups[2] = {&a, &cases};
    initializeSANModelNow("tiny", 2, places, 1, readOnly, 3, activities, 2, groups);
    AddEnableArc(&p, &a);
    AddAffectArc(&q, &b);
    AddEnableArc(&q, &twin);
  }
};

TEST(SANModelTest, WritesTheLocalPlacesInOrderAndReadsThemBack) {
  TinySAN san;
  EXPECT_EQ(4, san.StateSize());
  char buf[4];
  san.CurrentState(buf);
  EXPECT_EQ(shorts({1, 2}), std::string(buf, 4));

  std::string loaded = shorts({-3, 300});
  san.SetState(&loaded[0]);
  EXPECT_EQ(-3, san.p.getMark());
  EXPECT_EQ(300, san.q.getMark());
  san.CurrentState(buf);
  EXPECT_EQ(loaded, std::string(buf, 4));

  // Only StateSize bytes are compared.
  std::string same = loaded + "ab";
  std::string other = shorts({-3, 301});
  EXPECT_TRUE(san.CompareState(&loaded[0], &same[0]));
  EXPECT_FALSE(san.CompareState(&loaded[0], &other[0]));
}

TEST(SANModelTest, PlacesSharedByAComposerLeaveTheState) {
  TinySAN san;
  Place composerQ("q");
  composerQ.ShareWith(&san.q);
  EXPECT_EQ(2, san.StateSize());
  char buf[4] = {'x', 'x', 'x', 'x'};
  san.CurrentState(buf);
  EXPECT_EQ(shorts({1}), std::string(buf, 2));
  EXPECT_EQ("xx", std::string(buf + 2, 2));
  short loaded = 9;
  san.SetState(&loaded);
  EXPECT_EQ(9, san.p.getMark());
  EXPECT_EQ(2, san.q.getMark());  // the composer writes q

  Place composerP("p");
  composerP.ShareWith(&san.p);
  EXPECT_EQ(0, san.StateSize());
  EXPECT_FALSE(san.HasLocalState());
  char untouched = 'x';
  san.CurrentState(&untouched);
  EXPECT_EQ('x', untouched);
}

TEST(SANModelTest, ActionsOnSharedPlacesAreGlobalAndTheRestLocal) {
  TinySAN san;
  std::forward_list<BaseActionClass*> global;
  std::forward_list<BaseActionClass*> local;
  san.GetGlobalActions(global);
  EXPECT_TRUE(global.empty());
  san.GetLocalActions(local);
  EXPECT_EQ((std::forward_list<BaseActionClass*>{&san.twin, &san.b, &san.a}), local);

  Place composerVariable("q");
  composerVariable.ShareWith(&san.q);
  // An action of another model on the shared place is not this model's.
  TestActivity foreign("foreign");
  composerVariable.appendAffectingAction(&foreign);
  local.clear();
  san.GetGlobalActions(global);
  san.GetLocalActions(local);
  EXPECT_EQ((std::forward_list<BaseActionClass*>{&san.twin, &san.b}), global);
  EXPECT_EQ((std::forward_list<BaseActionClass*>{&san.a}), local);
}

TEST(SANModelTest, LocalStateSavesAndRestoresTheMarking) {
  TinySAN san;
  State* saved = nullptr;
  san.ConstructLocalState(saved);
  ASSERT_NE(nullptr, saved);
  san.GetLocalState(saved);
  EXPECT_EQ(shorts({1, 2}), std::string(saved->GetStatePtr(), 4));
  // Bytes 1, 0, 2, 0 weighted by the primes 2, 3, 5, 7.
  EXPECT_EQ(12u, saved->hash());
  san.p.setMark(5);
  san.SetLocalState(saved);
  EXPECT_EQ(1, san.p.getMark());

  // A stored state reads back only into a state of its own size.
  FILE* f = std::tmpfile();
  ASSERT_NE(nullptr, f);
  ASSERT_EQ(0, saved->fwriteState(f));
  const int32_t shorter = 3;
  std::fwrite(&shorter, sizeof shorter, 1, f);
  std::fwrite("abc", 1, 3, f);
  std::rewind(f);
  san.p.setMark(7);
  san.GetLocalState(saved);
  EXPECT_EQ(0, saved->freadState(f));
  EXPECT_EQ(shorts({1, 2}), std::string(saved->GetStatePtr(), 4));
  EXPECT_EQ(1, saved->freadState(f));
  EXPECT_EQ(shorts({1, 2}), std::string(saved->GetStatePtr(), 4));
  std::fclose(f);
  san.DestructLocalState(saved);
}

TEST(SANModelDeathTest, AnAtomicModelHasNoChildren) {
  TinySAN san;
  EXPECT_DEATH(san.GetChild(0), "Assertion failed: false, file SANModel.cpp");
}

}  // namespace
