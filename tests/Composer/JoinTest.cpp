#include <gtest/gtest.h>

#include <forward_list>
#include <string>
#include <vector>

#include "Cpp/BaseClasses/state/BaseStructStateVariable.h"
#include "Cpp/Composer/Join.h"
#include "Cpp/Composer/SharedStateVarLink.h"
#include "tests/Composer/TestModels.h"
#include "tests/ModelViews.h"

namespace {

using model_views::shorts;
using model_views::stateOf;

using composer_test::TestJoin;
using composer_test::TestSAN;

// Children a (s = 3, x = 10) and b (y = 20, s = 4) joined on s.
struct TwoChildren {
  TestSAN* a = new TestSAN("a", {{"s", 3}, {"x", 10}}, {"reader"});
  TestSAN* b = new TestSAN("b", {{"y", 20}, {"s", 4}});
  TestJoin join{"join", {a, b}, {"s"}};
  Place* s() { return join.shared[0].get(); }
};

// The marking cells the join saves and loads its state through: when all
// its variables are places, one per 2 bytes of the state.
size_t cellsOf(Join& join) {
  std::vector<short*> cells;
  EXPECT_TRUE(join.AppendMarkingCells(cells));
  return cells.size();
}

TEST(JoinTest, TheSharedVariableIsWrittenOnceAfterAllChildren) {
  TwoChildren m;
  EXPECT_EQ(2, m.a->StateSize());
  EXPECT_EQ(2, m.b->StateSize());
  EXPECT_EQ(6, m.join.StateSize());
  EXPECT_EQ(2, m.join.SharedStateSize());
  EXPECT_EQ(3u, cellsOf(m.join));
  // The value of the last child shared wins.
  EXPECT_EQ(shorts({10, 20, 4}), stateOf(m.join));
  EXPECT_EQ(3, m.join.NumStateVariables);  // x, y and s once
}

TEST(JoinTest, SharingIsVisibleThroughEveryChildAndTheJoin) {
  TwoChildren m;
  Place* inA = m.a->place("s");
  Place* inB = m.b->place("s");
  inA->setMark(7);
  EXPECT_EQ(7, inB->getMark());
  EXPECT_EQ(7, m.s()->getMark());
  // The activity's cached pointer follows the shared storage too.
  composer_test::CachingActivity* reader = m.a->activities[0].get();
  EXPECT_EQ(m.s()->Value, reader->mark);
  inB->setMark(0);
  EXPECT_FALSE(reader->Enabled());
  m.s()->setMark(1);
  EXPECT_TRUE(reader->Enabled());
  reader->Fire();
  EXPECT_EQ(5, inB->getMark());
  EXPECT_EQ(shorts({10, 20, 5}), stateOf(m.join));
}

TEST(JoinTest, SetStateIsTheInverseOfCurrentState) {
  TwoChildren m;
  std::string loaded = shorts({-1, 300, 2});
  m.join.SetState(&loaded[0]);
  EXPECT_EQ(-1, m.a->place("x")->getMark());
  EXPECT_EQ(300, m.b->place("y")->getMark());
  EXPECT_EQ(2, m.a->place("s")->getMark());
  EXPECT_EQ(loaded, stateOf(m.join));

  std::string same = loaded + "tail";
  std::string other = shorts({-1, 300, 3});
  EXPECT_TRUE(m.join.CompareState(&loaded[0], &same[0]));
  EXPECT_FALSE(m.join.CompareState(&loaded[0], &other[0]));
}

// An array of three places, and a struct of a place and such an array, as
// generated array and struct types build them.
class Slots : public BaseStructStateVariable {
 public:
  Place slot[3] = {Place("slot0"), Place("slot1"), Place("slot2")};

  explicit Slots(const char* name) : BaseStructStateVariable(name, "") {
    for (Place& p : slot) {
      fields.push_back(field(ShortType, &p));
    }
  }
};

class Job : public BaseStructStateVariable {
 public:
  Place id{"id"};
  Slots slots{"slots"};

  explicit Job(const char* name) : BaseStructStateVariable(name, "") {
    fields.push_back(field(ShortType, &id));
    fields.push_back(field(ArrayOfType, &slots));
  }
};

TEST(JoinTest, ChildrenWithStructAndArrayVariablesRoundTripTheState) {
  // a holds s (shared), x and the struct job; b holds y and s.
  Job* job = new Job("job");
  TestSAN* a = new TestSAN("a", {{"s", 3}, {"x", 10}}, {}, {job});
  TestSAN* b = new TestSAN("b", {{"y", 20}, {"s", 4}});
  TestJoin join("join", {a, b}, {"s"});
  job->id.setMark(7);
  for (short i = 0; i < 3; i++) {
    job->slots.slot[i].setMark(static_cast<short>(i + 1));
  }
  // x, job's id and slots, y, then s.
  EXPECT_EQ(shorts({10, 7, 1, 2, 3, 20, 4}), stateOf(join));

  const std::string loaded = shorts({-10, 70, 11, 12, 13, 200, 40});
  std::string buffer = loaded;
  join.SetState(&buffer[0]);
  EXPECT_EQ(-10, a->place("x")->getMark());
  EXPECT_EQ(70, job->id.getMark());
  EXPECT_EQ(11, job->slots.slot[0].getMark());
  EXPECT_EQ(13, job->slots.slot[2].getMark());
  EXPECT_EQ(200, b->place("y")->getMark());
  EXPECT_EQ(40, a->place("s")->getMark());
  EXPECT_EQ(loaded, stateOf(join));
}

// a and b joined on s inside inner, which is joined with c on s in outer.
struct Nested {
  TestSAN* a = new TestSAN("a", {{"s", 1}, {"x", 10}});
  TestSAN* b = new TestSAN("b", {{"s", 2}, {"y", 20}});
  TestSAN* c = new TestSAN("c", {{"s", 3}, {"z", 30}}, {"reader"});
  TestJoin* inner = new TestJoin("inner", {a, b}, {"s"});
  TestJoin outer{"outer", {inner, c}, {"s"}};
};

TEST(JoinTest, ANestedJoinWritesAVariableOfItsChildJoin) {
  Nested m;
  Place* innerS = m.inner->shared[0].get();
  Place* outerS = m.outer.shared[0].get();
  EXPECT_FALSE(innerS->getStored());
  EXPECT_EQ(0, m.inner->SharedStateSize());
  EXPECT_EQ(4, m.inner->StateSize());
  EXPECT_EQ(8, m.outer.StateSize());
  EXPECT_EQ(4u, cellsOf(m.outer));
  EXPECT_EQ(4, m.outer.ChildStateSizes[0]);
  EXPECT_EQ(shorts({10, 20, 30, 3}), stateOf(m.outer));
  EXPECT_EQ(3, m.inner->NumStateVariables);
  EXPECT_EQ(4, m.outer.NumStateVariables);

  m.a->place("s")->setMark(9);
  EXPECT_EQ(9, m.c->place("s")->getMark());
  EXPECT_EQ(9, innerS->getMark());
  EXPECT_EQ(9, outerS->getMark());
  EXPECT_EQ(9, *m.c->activities[0]->mark);
  std::string loaded = shorts({11, 21, 31, -4});
  m.outer.SetState(&loaded[0]);
  EXPECT_EQ(-4, m.b->place("s")->getMark());
  EXPECT_EQ(loaded, stateOf(m.outer));
}

TEST(JoinTest, ANestedJoinsChainHoldsWhatTheChildJoinsVariableStandsFor) {
  Nested m;
  Place* innerS = m.inner->shared[0].get();
  Place* outerS = m.outer.shared[0].get();
  std::vector<BaseStateVariableClass*> held;
  for (SharedStateVarLink* link = m.outer.getListOfSharedVariables(outerS); link != nullptr;
       link = link->Next) {
    held.push_back(link->StateVariable);
  }
  EXPECT_EQ((std::vector<BaseStateVariableClass*>{innerS, m.a->place("s"), m.b->place("s"),
                                                  m.c->place("s")}),
            held);
  // The outer chain holds copies: the inner chain is unchanged.
  SharedStateVarLink* innerChain = m.outer.getListOfSharedVariables(innerS);
  EXPECT_EQ(m.inner->SharedLinks[0], innerChain);
  EXPECT_EQ(nullptr, innerChain->Next->Next);
  EXPECT_EQ(outerS, m.outer.getMainSharedVariable(m.b->place("s")));
  EXPECT_EQ(innerS, m.inner->getMainSharedVariable(m.b->place("s")));
}

TEST(JoinTest, TheActionNameTableHoldsNamesThatQuadraticProbingCannotPlace) {
  // 30 names in 120 slots, all hashing to slot 0: the probes from slot 0
  // reach only 28 slots, so the last two names go elsewhere.
  std::vector<std::string> names;
  for (int i = 0; names.size() < 30; i++) {
    std::string name{static_cast<char>('a' + i / 676), static_cast<char>('a' + i / 26 % 26),
                     static_cast<char>('a' + i % 26)};
    if (Join::Hash(name.c_str(), 120) == 0) {
      names.push_back(name);
    }
  }
  std::vector<const char*> pointers;
  for (const std::string& name : names) {
    pointers.push_back(name.c_str());
  }
  TestJoin join("join", {new TestSAN("a", {}, pointers)}, {});
  ASSERT_EQ(120, join.ActionHashSize);
  int stored = 0;
  for (int i = 0; i < join.ActionHashSize; i++) {
    EXPECT_LE(join.ActionNameCounts[i], 1);
    stored += join.ActionNameCounts[i];
  }
  EXPECT_EQ(30, stored);
}

TEST(JoinDeathTest, MisuseOfTheSharingProtocolEndsTheProgram) {
  const char* names[2] = {"s", "t"};
  TestSAN* a = new TestSAN("a", {{"s", 1}, {"t", 2}});
  Join join("join", 1, 2, names);
  join.Children[0] = a;
  Place s("s");
  Place t("t");
  EXPECT_DEATH(join.addSharedPtr(&t, "t"),
               "Assertion failed: 0 == strcmp\\(VarName, SharedStateNames\\[AddedSharedPtrs\\]\\)");
  EXPECT_DEATH(join.addSharingInfo(a->place("s"), &s, a), "Assertion failed: VarIndex != -1");
  join.addSharedPtr(&s, "s");
  join.addSharedPtr(&t, "t");
  EXPECT_DEATH(join.addSharedPtr(&t, "t"),
               "Assertion failed: AddedSharedPtrs < NumSharedStateVariables");
  EXPECT_DEATH(join.GetChild(1), "Assertion failed: i < GetNumberOfChildren\\(\\)");
  std::forward_list<BaseActionClass*> actions;
  EXPECT_DEATH(join.GetLocalActions(actions), "Assertion failed: false, file Join.cpp");
  EXPECT_DEATH(join.GetGlobalActions(actions), "Assertion failed: false, file Join.cpp");
  delete a;
}

}  // namespace
