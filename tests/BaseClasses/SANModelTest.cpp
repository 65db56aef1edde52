#include <gtest/gtest.h>

#include <cstring>
#include <forward_list>
#include <sstream>
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

TEST(SANModelTest, InitializationCopiesTheArraysAndOwnsTheActions) {
  TinySAN san;
  EXPECT_STREQ("tiny", san.Name);
  EXPECT_EQ(3, san.NumStateVariables);
  EXPECT_EQ(1, san.NumReadOnlyPlaces);
  EXPECT_EQ(2, san.NumLocalPlaces());
  EXPECT_EQ(0, san.NumSharedStateVariables);
  EXPECT_EQ(3, san.NumActions);
  EXPECT_EQ(2, san.NumGroups);
  EXPECT_EQ(&san.q, san.Places[1]);
  EXPECT_EQ(&san.r, san.ReadOnlyPlaces[0]);
  EXPECT_EQ(&san.twin, san.Actions[2]);
  EXPECT_EQ(&san.cases, san.Groups[1]);
  BaseActionClass* owned[4] = {&san.a, &san.b, &san.twin, &san.cases};
  for (BaseActionClass* action : owned) {
    EXPECT_EQ(&san, action->OwnerModel);
  }
  EXPECT_EQ(1, san.GetModelType());
  EXPECT_EQ(0, san.GetNumberOfChildren());
  EXPECT_EQ(san.Places, san.GetLocalStateVariables(nullptr));
}

TEST(SANModelTest, CheckFunctionsCompareThePointersPositionByPosition) {
  TinySAN san;
  Place* places[2] = {&san.p, &san.q};
  Place* swapped[2] = {&san.q, &san.p};
  BaseStateVariableClass* readOnly[1] = {&san.r};
  Activity* activities[3] = {&san.a, &san.b, &san.twin};
  Activity* other[3] = {&san.a, &san.twin, &san.b};
  EXPECT_TRUE(checkLocalSVs(&san, places));
  EXPECT_FALSE(checkLocalSVs(&san, swapped));
  EXPECT_TRUE(checkReadOnlyPlaces(&san, readOnly));
  EXPECT_TRUE(checkLocalActions(&san, activities));
  EXPECT_FALSE(checkLocalActions(&san, other));

  SANModel empty("empty", 0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr);
  EXPECT_TRUE(checkLocalSVs(&empty, nullptr));
  EXPECT_TRUE(checkReadOnlyPlaces(&empty, nullptr));
  EXPECT_TRUE(checkLocalActions(&empty, nullptr));
}

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
}

TEST(SANModelTest, APlaceSharedByAComposerLeavesTheState) {
  TinySAN san;
  Place composerVariable("q");
  composerVariable.ShareWith(&san.q);
  EXPECT_EQ(2, san.StateSize());
  char buf[4] = {'x', 'x', 'x', 'x'};
  san.CurrentState(buf);
  EXPECT_EQ(shorts({1, 0}).substr(0, 2), std::string(buf, 2));
  EXPECT_EQ("xx", std::string(buf + 2, 2));

  short loaded = 9;
  san.SetState(&loaded);
  EXPECT_EQ(9, san.p.getMark());
  EXPECT_EQ(2, san.q.getMark());  // the composer writes q
}

TEST(SANModelTest, AModelWhoseUnsharedPlacesAreAllGoneWritesNothing) {
  TinySAN san;
  Place sharedP("p");
  Place sharedQ("q");
  sharedP.ShareWith(&san.p);
  sharedQ.ShareWith(&san.q);
  EXPECT_EQ(0, san.StateSize());
  EXPECT_FALSE(san.HasLocalState());
  char untouched = 'x';
  san.CurrentState(&untouched);
  EXPECT_EQ('x', untouched);
}

TEST(SANModelTest, CompareStateLooksAtStateSizeBytesOnly) {
  TinySAN san;
  std::string a = shorts({1, 2}) + "ab";
  std::string b = shorts({1, 2}) + "cd";
  std::string c = shorts({1, 3}) + "ab";
  EXPECT_TRUE(san.CompareState(&a[0], &b[0]));
  EXPECT_FALSE(san.CompareState(&a[0], &c[0]));
}

TEST(SANModelTest, ListsByNameMatchExactly) {
  TinySAN san;
  List<BaseActionClass> actions;
  san.listActions("a", &actions);
  ASSERT_EQ(1, actions.getNumItems());
  EXPECT_EQ(&san.a, actions[0]);  // twin is also named "a"
  actions.clearList();
  san.listActions(&actions);
  EXPECT_EQ(3, actions.getNumItems());

  List<BaseGroupClass> groups;
  san.listGroups(&groups);
  ASSERT_EQ(2, groups.getNumItems());
  EXPECT_EQ(&san.cases, groups[1]);

  List<BaseModelClass> models;
  san.listModels("tin", &models);
  EXPECT_EQ(0, models.getNumItems());
  san.listModels("tiny", &models);
  EXPECT_EQ(1, models.getNumItems());
}

TEST(SANModelTest, ListSVsSearchesLocalThenReadOnlyPlacesOfTheNamedModel) {
  TinySAN san;
  List<BaseStateVariableClass> svs;
  List<BaseModelClass> models;
  san.listSVs("other", "p", &svs, &models);
  EXPECT_EQ(0, svs.getNumItems());
  san.listSVs("tiny", "r", &svs, &models);
  ASSERT_EQ(1, svs.getNumItems());
  EXPECT_EQ(&san.r, svs[0]);
  ASSERT_EQ(1, models.getNumItems());
  EXPECT_EQ(&san, models[0]);
  san.listSVs("tiny", "q", &svs, &models);
  EXPECT_EQ(&san.q, svs[1]);
}

TEST(SANModelTest, ActionsOnSharedPlacesAreGlobalAndTheRestLocal) {
  TinySAN san;
  std::forward_list<BaseActionClass*> global;
  std::forward_list<BaseActionClass*> local;
  san.GetGlobalActions(global);
  EXPECT_TRUE(global.empty());

  Place composerVariable("q");
  composerVariable.ShareWith(&san.q);
  // An action of another model on the shared place is not this model's.
  TestActivity foreign("foreign");
  composerVariable.appendAffectingAction(&foreign);
  san.GetGlobalActions(global);
  san.GetLocalActions(local);
  EXPECT_EQ((std::forward_list<BaseActionClass*>{&san.twin, &san.b}), global);
  EXPECT_EQ((std::forward_list<BaseActionClass*>{&san.a}), local);
}

TEST(SANModelTest, LocalActionsEndInReverseOrder) {
  TinySAN san;
  std::forward_list<BaseActionClass*> local;
  san.GetLocalActions(local);
  EXPECT_EQ((std::forward_list<BaseActionClass*>{&san.twin, &san.b, &san.a}), local);
}

TEST(SANModelTest, LocalStateSavesAndRestoresTheMarking) {
  TinySAN san;
  EXPECT_TRUE(san.HasLocalState());
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
  san.DestructLocalState(saved);
  san.DestructLocalState(nullptr);
}

TEST(SANModelTest, PrintStateListsEveryPlace) {
  TinySAN san;
  Place composerVariable("q");
  composerVariable.ShareWith(&san.q);
  std::ostringstream os;
  san.printState(&os);
  EXPECT_EQ("Model: (" + std::to_string(san.ModelId) + ")tiny\n  p = 1\n  q = 2\n  r = 7\n",
            os.str());
}

TEST(SANModelTest, PrintSANModelInfoDescribesActionsGroupsAndPlaces) {
  TinySAN san;
  san.cases.setGroupId(1);
  testing::internal::CaptureStdout();
  san.PrintSANModelInfo();
  std::string out = testing::internal::GetCapturedStdout();
  std::string twin =
      "ActionName = a\nGroup Id = 1\nDistributionType = 1\nExecutionPolicy = 1\n"
      "Number of affected state variables = 0\nNumber of enabling state variables = 1\n";
  EXPECT_EQ(0u, out.find("SANModelInfo\nNumber of Actions = 3, Number of Groups = 2, Number of "
                         "State Variables = 3\nActionName = a\n"));
  EXPECT_NE(std::string::npos,
            out.find(twin + "\nGroup Name = a \nGroup Name = casesGroup \nPlace Name = p\n"
                            "Place Name = q\nRead Only Place Name = r\n"));
}

TEST(SANModelTest, PrintSANModelInfoOfAModelWithoutActions) {
  Place p("p", 0);
  BaseStateVariableClass* places[1] = {&p};
  SANModel san("bare", 1, places, 0, nullptr, 0, nullptr, 0, nullptr);
  testing::internal::CaptureStdout();
  san.PrintSANModelInfo();
  EXPECT_EQ(
      "SANModelInfo\nNumber of Actions = 0, Number of Groups = 0, Number of State Variables = 1\n"
      "\nPlace Name = p\n",
      testing::internal::GetCapturedStdout());
}

TEST(SANModelDeathTest, ProgrammingErrorsEndTheProgram) {
  TinySAN san;
  EXPECT_DEATH(san.GetChild(0), "Assertion failed: false, file SANModel.cpp");

  SANModel empty("empty", 0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr);
  State* four = nullptr;
  State* none = nullptr;
  san.ConstructLocalState(four);
  empty.ConstructLocalState(none);
  State& target = *four;
  EXPECT_DEATH(target = *none, "Assertion failed: size == _localS->size, file SANModel.cpp");
  san.DestructLocalState(four);
  empty.DestructLocalState(none);
}

}  // namespace
