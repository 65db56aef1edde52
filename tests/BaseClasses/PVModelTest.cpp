#include <gtest/gtest.h>

#include <string>

#include "Cpp/BaseClasses/PVModel.h"
#include "tests/BaseClasses/TinyRewardModels.h"
#include "tests/ModelViews.h"
#include "tests/TestFiles.h"

namespace {

using model_views::shorts;
using model_views::stateOf;
using test_files::TempFile;

std::vector<int> contents(FastSet& frozen) {
  std::vector<int> items;
  for (int k = 0; k < frozen.size(); k++) {
    items.push_back(frozen[k]);
  }
  return items;
}

// Two instances of "a" (places p and q, actions incP and incQ) and three of
// "b" (place p, action incP), with three variables:
//  0 "both": reads p of a and p of b, so six workers;
//  1 "q":    reads q of a, so two workers;
//  2 "imp":  no rate reward; an impulse earned by a's incP, reading b.
class PVModelTest : public testing::Test {
 protected:
  void SetUp() override {
    std::vector<tiny::Model*> children;
    for (const char* name : {"a", "a", "b", "b", "b"}) {
      tiny::Model* m = new tiny::Model(name);
      m->AddAction("incP", m->AddPlace("p"));
      if (name[0] == 'a') {
        m->AddAction("incQ", m->AddPlace("q"));
      }
      children.push_back(m);
    }
    join = new tiny::Join(children);
  }
  void TearDown() override {
    if (model == nullptr) {
      delete join;
    }
  }

  void Build() { model = std::make_unique<tiny::RewardModel>(join, 3, false, makeNode); }

  static PerformanceVariableNode* makeNode(int pv, int) {
    if (pv == 0) {
      tiny::Node* node = new tiny::Node("both", 0, 2, 2);
      node->AddVariableDependency("p", "a");
      node->AddVariableDependency("p", "b");
      return node;
    }
    if (pv == 1) {
      tiny::Node* node = new tiny::Node("q", 0, 1, 1, "q");
      node->AddVariableDependency("q", "a");
      return node;
    }
    tiny::Node* node = new tiny::Node("imp", 1, 0, 0);
    tiny::Impulse* impulse = node->AddOwnImpulse(2);
    node->AddImpulse("incP", "a", impulse);
    node->AddImpulseModelDependency("b", impulse);
    return node;
  }

  tiny::Model* a(int i) { return join->children[i]; }
  tiny::Model* b(int i) { return join->children[2 + i]; }
  BaseActionClass* action(tiny::Model* m, const char* name) {
    List<BaseActionClass> found;
    m->listActions(name, &found);
    return found[0];
  }

  tiny::Join* join = nullptr;  // owned by model once built
  std::unique_ptr<tiny::RewardModel> model;
};

TEST_F(PVModelTest, RateLinksNameTheWorkersOfTheFiringInstance) {
  Build();
  EXPECT_EQ(14, model->StateSize());
  EXPECT_EQ(6, model->PVList[0]->NumWorkers);
  EXPECT_EQ(2, model->PVList[1]->NumWorkers);
  EXPECT_EQ(0, model->PVList[2]->NumWorkers);
  BaseActionClass* a1incP = action(a(1), "incP");
  EXPECT_EQ(std::vector<int>({3, 4, 5}), contents(a1incP->PVRateWorkers[0]));
  EXPECT_EQ(std::vector<int>({0}), contents(a1incP->AffectedNodesByRateReward));
  BaseActionClass* b1incP = action(b(1), "incP");
  EXPECT_EQ(std::vector<int>({1, 4}), contents(b1incP->PVRateWorkers[0]));
  EXPECT_TRUE(contents(b1incP->PVRateWorkers[1]).empty());
  BaseActionClass* a0incQ = action(a(0), "incQ");
  EXPECT_EQ(std::vector<int>({0}), contents(a0incQ->PVRateWorkers[1]));
  EXPECT_EQ(std::vector<int>({1}), contents(a0incQ->AffectedNodes));
}

TEST_F(PVModelTest, AnActionChangingTwoVariablesOfANodeIsListedOnce) {
  a(0)->AddAffectArc(a(0)->place("q"), action(a(0), "incP"));
  model = std::make_unique<tiny::RewardModel>(join, 1, false, [](int, int) {
    tiny::Node* node = new tiny::Node("pq", 0, 1, 2);
    node->AddVariableDependency("p", "a");
    node->AddVariableDependency("q", "a");
    return node;
  });
  PerformanceVariableNode* node = model->PVList[0];
  ASSERT_EQ(4, node->NumAffectingActions);
  EXPECT_EQ(action(a(0), "incP"), node->AffectingActions[0]);
  EXPECT_EQ(action(a(0), "incQ"), node->AffectingActions[1]);
}

TEST_F(PVModelTest, FiringEvaluatesRatesAndOnlyTheFiringInstancesImpulse) {
  Build();
  model->ConsiderOnly(nullptr, -1);
  ASSERT_EQ(3u, model->ConsideredPVs.size());
  b(2)->place("p")->Mark = 1;
  std::vector<char> state(model->StateSize());
  BaseActionClass* fired = action(a(1), "incP");
  model->FireAction(state.data(), fired);
  EXPECT_EQ(1, a(1)->place("p")->Mark);
  EXPECT_EQ(fired, model->LastActionFired);
  // Each a instance is in three workers, each b instance in two.
  EXPECT_EQ(3.0 * 1 + 2.0 * 1, model->PVList[0]->RateReward);
  EXPECT_EQ(0.0, model->PVList[0]->ImpulseReward);
  // Impulse workers 3, 4 and 5 belong to a1; each is worth its index + 1.
  EXPECT_EQ(4.0 + 5.0 + 6.0, model->PVList[2]->ImpulseReward);
  // The children's places in order: a0 p q, a1 p q, b0 p, b1 p, b2 p.
  EXPECT_EQ(shorts({0, 0, 1, 0, 0, 0, 1}), std::string(state.begin(), state.end()));

  model->FireAction(state.data(), action(a(0), "incP"));
  EXPECT_EQ(1.0 + 2.0 + 3.0, model->PVList[2]->ImpulseReward);
  model->FireAction(state.data(), action(a(0), "incQ"));
  EXPECT_EQ(0.0, model->PVList[2]->ImpulseReward);
  EXPECT_EQ(1.0, model->PVList[1]->RateReward);

  // Aging evaluates the rates of the marking but earns no impulse.
  model->FireAction(state.data(), action(a(0), "incP"));
  a(0)->place("q")->Mark = 5;
  model->AgeAction(state.data(), action(a(0), "incP"));
  EXPECT_EQ(&model->NoAction, model->LastActionFired);
  EXPECT_EQ(0.0, model->PVList[2]->ImpulseReward);
  EXPECT_EQ(5.0, model->PVList[1]->RateReward);
  EXPECT_EQ(2, a(0)->place("p")->Mark);
}

TEST_F(PVModelTest, TheErlangPhasesFollowTheChildsStateInActionOrder) {
  // The actions in order: a0 incP, a0 incQ, a1 incP, a1 incQ, b0 incP,
  // b1 incP, b2 incP.
  action(b(1), "incP")->DistributionType = Erlang;
  action(a(0), "incQ")->DistributionType = Erlang;
  Build();
  action(a(0), "incQ")->Phase = 2;
  action(b(1), "incP")->Phase = 3;
  a(1)->place("q")->Mark = 4;
  EXPECT_EQ(shorts({0, 0, 0, 4, 0, 0, 0, 2, 3}), stateOf(*model));

  std::string loaded = shorts({1, 2, 3, 4, 5, 6, 7, 9, 8});
  model->SetState(&loaded[0]);
  EXPECT_EQ(9, action(a(0), "incQ")->Phase);
  EXPECT_EQ(8, action(b(1), "incP")->Phase);
  EXPECT_EQ(7, b(2)->place("p")->Mark);
  EXPECT_EQ(loaded, stateOf(*model));
  std::string otherPhase = shorts({1, 2, 3, 4, 5, 6, 7, 9, 1});
  EXPECT_FALSE(model->CompareState(&loaded[0], &otherPhase[0]));
}

TEST_F(PVModelTest, ConsiderOnlyRestrictsEvaluationToTheChosenNodes) {
  Build();
  const int only[] = {1};
  model->ConsiderOnly(only, 1);
  ASSERT_EQ(1u, model->ConsideredPVs.size());
  model->PVList[0]->RateReward = 42.0;
  std::vector<char> state(model->StateSize());
  model->FireAction(state.data(), action(a(0), "incQ"));
  EXPECT_EQ(1.0, model->PVList[1]->RateReward);
  EXPECT_EQ(42.0, model->PVList[0]->RateReward);
  const int outside[] = {3};
  EXPECT_DEATH(model->ConsiderOnly(outside, 1), "indices\\[k\\] < NumPVs");
}

TEST_F(PVModelTest, TheTypeFileListsEveryNodeAndFailuresAreReported) {
  Build();
  TempFile name("tiny.pvtype");
  ASSERT_TRUE(model->WritePVTypeFile(name.c_str()));
  EXPECT_EQ(
      "Version:1\nNumPV:3\n"
      "Name:both\nType:0\nNumTimes:1\nStart:365\nStop:365\n"
      "Name:q\nType:0\nNumTimes:1\nStart:365\nStop:365\n"
      "Name:imp\nType:0\nNumTimes:1\nStart:365\nStop:365\n",
      name.read());

  EXPECT_FALSE(model->WritePVTypeFile("/nonexistent-directory/x.pvtype"));
  delete[] model->PVList[1]->Name;
  model->PVList[1]->Name = nullptr;
  EXPECT_FALSE(model->WritePVTypeFile(name.c_str()));
}

// A variable with three time points, one node per time point or not.
PerformanceVariableNode* threeTimes(int, int t) { return new tiny::Node("v", 0, 0, 0, "p", t, 3); }

TEST(PVModelTimePointsTest, ThreeTimePointsAreOneNodeOrOneNodeEach) {
  tiny::RewardModel single(new tiny::Join({}), 1, false, threeTimes);
  ASSERT_EQ(1, single.NumPVs);
  TempFile name("three.pvtype");
  ASSERT_TRUE(single.WritePVTypeFile(name.c_str()));
  EXPECT_EQ(
      "Version:1\nNumPV:1\nName:v\nType:0\nNumTimes:3\n"
      "Start:365\nStop:365\nStart:400\nStop:400\nStart:0.5\nStop:0.5\n",
      name.read());

  tiny::RewardModel expanded(new tiny::Join({}), 1, true, threeTimes);
  ASSERT_EQ(3, expanded.NumPVs);
  EXPECT_EQ(365.0, expanded.PVList[0]->StartTime);
  EXPECT_EQ(400.0, expanded.PVList[1]->StartTime);
  EXPECT_EQ(0.5, expanded.PVList[2]->StopTime);
  EXPECT_EQ(2, expanded.PVList[2]->PVId);
}

TEST(PVModelListTest, AModelWithoutVariablesOnlyFiresAndSaves) {
  tiny::Model* m = new tiny::Model("m");
  tiny::Action* inc = m->AddAction("inc", m->AddPlace("p"));
  tiny::RewardModel model(new tiny::Join({m}), 0, false, nullptr);
  EXPECT_EQ(0, model.NumPVs);
  model.ConsiderOnly(nullptr, -1);
  EXPECT_TRUE(model.ConsideredPVs.empty());
  short state = 0;
  model.FireAction(&state, inc);
  EXPECT_EQ(1, state);
  TempFile name("none.pvtype");
  ASSERT_TRUE(model.WritePVTypeFile(name.c_str()));
  EXPECT_EQ("Version:1\nNumPV:0\n", name.read());
}

}  // namespace
