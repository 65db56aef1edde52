// The index of the actions to ask in a marking: over nets, whose needs are
// their whole enabling, it must find exactly the enabled transitions plus
// those without needs, in model order, whatever place indexes each.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "Cpp/BaseClasses/List.h"
#include "Cpp/BaseClasses/NetSAN.h"
#include "generator/EnablingIndex.h"
#include "tests/BaseClasses/TestNets.h"
#include "tests/ModelViews.h"

namespace {

using model_views::shorts;
using test_nets::NetBuilder;
using test_nets::NetJoin;

// What the index should answer: every action enabled now, and those
// listing no need, in model order.
std::vector<BaseActionClass*> expected(List<BaseActionClass>& actions) {
  std::vector<BaseActionClass*> ask;
  for (int i = 0; i < actions.getNumItems(); i++) {
    std::vector<BaseActionClass::TokenNeed> needs;
    actions[i]->EnablingNeeds(needs);
    bool needsSomething = false;
    for (const BaseActionClass::TokenNeed& need : needs) {
      needsSomething = needsSomething || need.tokens > 0;
    }
    if (!needsSomething || actions[i]->Enabled()) {
      ask.push_back(actions[i]);
    }
  }
  return ask;
}

// p is read by many transitions and q by few, so "both" is indexed under q
// and "both2" (which needs 3 of q) still under q: each must be found when
// enabled through either place's tokens. "free" has no input place, "zero"
// only an input arc of weight 0, "heavy" needs 2 of p and 3 of r.
TEST(EnablingIndexTest, FindsExactlyTheEnabledTransitionsInModelOrder) {
  NetSAN san(NetBuilder("n")
                 .place("p", 1)
                 .place("q")
                 .place("r")
                 .transition("free")
                 .transition("both")
                 .transition("p1")
                 .transition("heavy")
                 .transition("zero")
                 .transition("p2")
                 .transition("both2")
                 .transition("r1")
                 .arc("free", "q")
                 .arc("p", "both")
                 .arc("q", "both")
                 .arc("p", "p1")
                 .arc("p", "heavy", 2)
                 .arc("r", "heavy", 3)
                 .arc("r", "zero", 0)
                 .arc("p", "p2")
                 .arc("p", "both2")
                 .arc("q", "both2", 3)
                 .arc("r", "r1")
                 .net);
  List<BaseActionClass> actions;
  san.listActions(&actions);
  EnablingIndex index(actions.getList(), static_cast<unsigned int>(actions.getNumItems()));
  EXPECT_EQ(6u, index.indexed()) << "all but free and zero";
  for (short p = 0; p < 4; p++) {
    for (short q = 0; q < 5; q++) {
      for (short r = 0; r < 5; r++) {
        std::string state = shorts({p, q, r});
        san.SetState(&state[0]);
        ASSERT_EQ(expected(actions), index.candidates()) << p << " " << q << " " << r;
      }
    }
  }
}

// Markings set by firing in another net of a join: the consumer's "take"
// reads the shared buffer, which only the producer fills.
TEST(EnablingIndexTest, SeesASharedPlaceChangedByAnotherModel) {
  NetJoin join(test_nets::producerAndConsumer(), {"buffer"});
  List<BaseActionClass> actions;
  join.listActions(&actions);
  EnablingIndex index(actions.getList(), static_cast<unsigned int>(actions.getNumItems()));
  BaseActionClass* put = join.net(0).Actions[0];
  BaseActionClass* take = join.net(1).Actions[0];
  EXPECT_EQ(std::vector<BaseActionClass*>{put}, index.candidates());
  put->Fire();
  EXPECT_EQ(std::vector<BaseActionClass*>{take}, index.candidates());
  take->Fire();
  EXPECT_TRUE(index.candidates().empty());
  std::string both = shorts({1, 0, 1});  // idle, done, then the shared buffer
  join.SetState(&both[0]);
  EXPECT_EQ(expected(actions), index.candidates());
  EXPECT_EQ(2u, index.candidates().size());
}

// Random nets and markings: wide transitions over few places, with weights,
// checked against asking every transition.
TEST(EnablingIndexTest, AgreesWithAskingEveryTransitionOnRandomNets) {
  std::mt19937 random(11);
  for (int round = 0; round < 20; round++) {
    NetBuilder builder("random");
    const int places = 3 + static_cast<int>(random() % 6);
    for (int i = 0; i < places; i++) {
      builder.place("p" + std::to_string(i));
    }
    for (int t = 0; t < 40; t++) {
      const std::string name = "t" + std::to_string(t);
      builder.transition(name);
      for (int i = 0; i < places; i++) {
        if (random() % 3 == 0) {
          builder.arc("p" + std::to_string(i), name, static_cast<int>(random() % 3));
        }
      }
    }
    NetSAN san(builder.net);
    List<BaseActionClass> actions;
    san.listActions(&actions);
    EnablingIndex index(actions.getList(), static_cast<unsigned int>(actions.getNumItems()));
    for (int m = 0; m < 50; m++) {
      std::vector<short> marking;
      for (int i = 0; i < places; i++) {
        marking.push_back(static_cast<short>(random() % 3));
      }
      std::string state = shorts(marking);
      san.SetState(&state[0]);
      ASSERT_EQ(expected(actions), index.candidates()) << "round " << round << " marking " << m;
    }
  }
}

}  // namespace
