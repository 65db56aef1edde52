// The table-driven net model: its state vector, enabling and firing through
// the arc tables, sharing through a join, the
// group of its instantaneous transitions and its reward model.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Cpp/BaseClasses/NetRewardModel.h"
#include "Cpp/BaseClasses/NetSAN.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "tests/BaseClasses/TestNets.h"
#include "tests/ModelViews.h"

namespace {

using model_views::shorts;
using model_views::stateOf;
using test_nets::NetBuilder;
using test_nets::NetJoin;

NetTransition* transition(NetSAN& san, int i) {
  return static_cast<NetTransition*>(san.Actions[i]);
}

TEST(NetSANTest, WritesItsPlacesInNetOrderWithTheirInitialMarkings) {
  NetSAN san(NetBuilder("n").place("a", 2).place("b").place("c", 5).net);
  EXPECT_STREQ("n", san.Name);
  EXPECT_EQ(6, san.StateSize());
  EXPECT_EQ(shorts({2, 0, 5}), stateOf(san));
  EXPECT_STREQ("b", san.place(1)->Name);

  std::string loaded = shorts({7, 8, 9});
  san.SetState(&loaded[0]);
  EXPECT_EQ(8, san.marking(1));
  EXPECT_EQ(loaded, stateOf(san));
}

// t needs 2 tokens in a and 1 in b, which it puts back, and adds 3 to c.
TEST(NetSANTest, TransitionNeedsEveryInputWeightAndMovesOnlyTheNetChange) {
  NetSAN san(NetBuilder("n")
                 .place("a", 2)
                 .place("b", 1)
                 .place("c")
                 .transition("t")
                 .arc("a", "t", 2)
                 .arc("b", "t")
                 .arc("t", "b")
                 .arc("t", "c", 3)
                 .net);
  NetTransition* t = transition(san, 0);
  EXPECT_EQ(2, t->EnablingSVs.getNumItems());
  EXPECT_EQ(2, t->AffectedSVs.getNumItems()) << "b does not change";
  ASSERT_TRUE(t->Enabled());
  EXPECT_EQ(t, t->Fire());
  EXPECT_EQ(shorts({0, 1, 3}), stateOf(san));
  EXPECT_FALSE(t->Enabled());

  std::string oneShort = shorts({1, 1, 0});
  san.SetState(&oneShort[0]);
  EXPECT_FALSE(t->Enabled());
  std::string noB = shorts({2, 0, 0});
  san.SetState(&noB[0]);
  EXPECT_FALSE(t->Enabled());
}

TEST(NetSANTest, FiringBeyond32767StopsTheRunNamingThePlace) {
  NetSAN san(NetBuilder("n").place("full", 32767).transition("t").arc("t", "full").net);
  EXPECT_EXIT(transition(san, 0)->Fire(), testing::ExitedWithCode(1),
              "activity t of model n takes the marking of place full to 32768");
}

// Whatever order states are loaded and transitions fired in, the enabling
// each transition reports is the one its input arcs give, and the state
// written is the marking of the places.
TEST(NetSANTest, ReportsTheEnablingItsInputArcsGive) {
  NetSAN san(NetBuilder("n")
                 .place("p", 1)
                 .place("q")
                 .place("r")
                 .transition("pq")
                 .transition("qr")
                 .transition("rp")
                 .transition("pq2")
                 .arc("p", "pq")
                 .arc("pq", "q")
                 .arc("q", "qr", 2)
                 .arc("qr", "r")
                 .arc("r", "rp")
                 .arc("rp", "p")
                 .arc("p", "pq2", 2)
                 .arc("pq2", "q", 2)
                 .net);
  const int weights[4][3] = {{1, 0, 0}, {0, 2, 0}, {0, 0, 1}, {2, 0, 0}};
  std::mt19937 random(7);
  for (int step = 0; step < 2000; step++) {
    if (random() % 3 == 0) {
      std::string state =
          shorts({static_cast<short>(random() % 3), static_cast<short>(random() % 3),
                  static_cast<short>(random() % 3)});
      san.SetState(&state[0]);
    }
    for (int t = 0; t < 4; t++) {
      const bool expected = san.marking(0) >= weights[t][0] && san.marking(1) >= weights[t][1] &&
                            san.marking(2) >= weights[t][2];
      ASSERT_EQ(expected, transition(san, t)->Enabled()) << "transition " << t << " step " << step;
    }
    NetTransition* chosen = transition(san, static_cast<int>(random() % 4));
    if (chosen->Enabled()) {
      chosen->Fire();
    }
    ASSERT_EQ(shorts({san.marking(0), san.marking(1), san.marking(2)}), stateOf(san));
  }
}

// Two nets joined on their place "buffer": a producer and a consumer.
TEST(NetSANTest, JoinedNetsSeeEachOthersFiringsOnASharedPlace) {
  NetJoin join(test_nets::producerAndConsumer(), {"buffer"});
  EXPECT_EQ(6, join.StateSize()) << "idle, done, then the shared buffer";
  NetTransition* put = transition(join.net(0), 0);
  NetTransition* take = transition(join.net(1), 0);
  EXPECT_FALSE(take->Enabled());
  put->Fire();
  EXPECT_TRUE(take->Enabled());
  EXPECT_EQ(shorts({0, 0, 1}), stateOf(join));

  std::string taken = shorts({0, 1, 0});
  join.SetState(&taken[0]);
  EXPECT_FALSE(take->Enabled());
  EXPECT_FALSE(put->Enabled());
  EXPECT_EQ(1, join.net(1).marking(1));
}

TEST(NetSANTest, InstantaneousTransitionsCompeteInOneGroupByPriorityThenWeight) {
  NetSAN san(NetBuilder("n")
                 .place("p", 1)
                 .place("flag")
                 .transition("slow", Exponential, 2.0)
                 .transition("one", Instantaneous, 0.0, 1.0)
                 .transition("three", Instantaneous, 0.0, 3.0)
                 .transition("urgent", Instantaneous, 0.0, 5.0, 2)
                 .arc("p", "slow")
                 .arc("p", "one")
                 .arc("p", "three")
                 .arc("p", "urgent")
                 .arc("flag", "urgent")
                 .net);
  ASSERT_EQ(2, san.NumGroups);
  EXPECT_EQ(san.Actions[0], san.Groups[0]);
  BaseGroupClass* group = san.Groups[1];
  EXPECT_EQ(3, group->NumMembers);
  EXPECT_EQ(1, transition(san, 1)->GroupID);
  EXPECT_DOUBLE_EQ(2.0, transition(san, 0)->Rate());
  EXPECT_DOUBLE_EQ(0.25, group->Probability(transition(san, 1)));
  EXPECT_DOUBLE_EQ(0.75, group->Probability(transition(san, 2)));

  std::string flagged = shorts({1, 1});
  san.SetState(&flagged[0]);
  EXPECT_EQ(2, transition(san, 3)->Rank());
  EXPECT_DOUBLE_EQ(0.0, group->Probability(transition(san, 1)));
  EXPECT_DOUBLE_EQ(1.0, group->Probability(transition(san, 3)));
}

TEST(NetSANTest, RewardModelCountsTokensAndMarkedPlaces) {
  const NetDescription net = NetBuilder("n")
                                 .place("a", 2)
                                 .place("b", 1)
                                 .place("c")
                                 .transition("t")
                                 .arc("a", "t")
                                 .arc("b", "t")
                                 .arc("t", "c", 4)
                                 .net;
  std::vector<NetRewardVariable> variables = {
      {"ab", NetRewardVariable::Measure::Tokens, {0, 1}, {10.0}},
      {"cMarked", NetRewardVariable::Measure::Marked, {2}, {1.0, 2.0}}};
  NetRewardModel model(net, variables, false);
  ASSERT_EQ(2, model.NumPVs);
  EXPECT_EQ(2, model.PVList[1]->GetNumTimePoints());
  model.ConsiderOnly(nullptr, -1);
  std::string state(model.StateSize(), '\0');
  model.FireAction(&state[0], &model.NoAction);
  EXPECT_DOUBLE_EQ(3.0, model.PVList[0]->RateReward);
  EXPECT_DOUBLE_EQ(0.0, model.PVList[1]->RateReward);

  model.FireAction(&state[0], model.Actions[0]);
  EXPECT_EQ(shorts({1, 0, 4}), state);
  EXPECT_DOUBLE_EQ(1.0, model.PVList[0]->RateReward);
  EXPECT_DOUBLE_EQ(1.0, model.PVList[1]->RateReward);
}

}  // namespace
