#include <gtest/gtest.h>

#include <forward_list>
#include <sstream>
#include <string>
#include <vector>

#include "Cpp/BaseClasses/PostselectGroup.h"
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

TEST(JoinTest, TheSharedVariableIsWrittenOnceAfterAllChildren) {
  TwoChildren m;
  EXPECT_EQ(2, m.a->StateSize());
  EXPECT_EQ(2, m.b->StateSize());
  EXPECT_EQ(6, m.join.StateSize());
  EXPECT_EQ(6, m.join.CompositeStateSize);
  EXPECT_EQ(2, m.join.SharedStateSize());
  EXPECT_EQ(2, m.join.ChildStateSizes[0]);
  EXPECT_EQ(2, m.join.ChildStateSizes[1]);
  // The value of the last child shared wins.
  EXPECT_EQ(shorts({10, 20, 4}), stateOf(m.join));
  EXPECT_EQ(3, m.join.NumStateVariables);  // x, y and s once
  EXPECT_EQ(1, m.join.NumSharedStateVariables);
  EXPECT_EQ(2, m.join.GetModelType());
  EXPECT_EQ(2, m.join.GetNumberOfChildren());
  EXPECT_EQ(m.b, m.join.GetChild(1));
  EXPECT_EQ(m.join.SharedPtrs, m.join.GetSharedStateVariables());
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

TEST(JoinTest, SharingInformationNamesEveryBoundVariable) {
  TwoChildren m;
  Place* inA = m.a->place("s");
  Place* inB = m.b->place("s");
  EXPECT_EQ(2, m.join.SharedLists[0].getNumItems());
  SharedStateVarLink* chain = m.join.getListOfSharedVariables(m.s());
  ASSERT_NE(nullptr, chain);
  EXPECT_EQ(inA, chain->StateVariable);
  EXPECT_EQ(m.a, chain->Model);
  ASSERT_NE(nullptr, chain->Next);
  EXPECT_EQ(inB, chain->Next->StateVariable);
  EXPECT_EQ(nullptr, chain->Next->Next);
  EXPECT_EQ(m.s(), m.join.getMainSharedVariable(inB));
  EXPECT_EQ(nullptr, m.join.getMainSharedVariable(m.a->place("x")));
  EXPECT_EQ(nullptr, m.join.getListOfSharedVariables(inA));
}

TEST(JoinTest, ListOperationsAskTheChildren) {
  TwoChildren m;
  List<BaseModelClass> models;
  m.join.listModels("join", &models);
  EXPECT_EQ(0, models.getNumItems());
  m.join.listModels("b", &models);
  ASSERT_EQ(1, models.getNumItems());
  EXPECT_EQ(m.b, models[0]);

  List<BaseStateVariableClass> svs;
  models.clearList();
  m.join.listSVs("b", "s", &svs, &models);
  ASSERT_EQ(1, svs.getNumItems());
  EXPECT_EQ(m.b->place("s"), svs[0]);

  List<BaseActionClass> actions;
  m.join.listActions("reader", &actions);
  EXPECT_EQ(1, actions.getNumItems());
  List<BaseGroupClass> groups;
  m.join.listGroups(&groups);
  EXPECT_EQ(1, groups.getNumItems());
}

TEST(JoinTest, AJoinOfEmptyChildrenSharesNothing) {
  TestJoin join("join", {new TestSAN("a", {}, {"p"}), new TestSAN("b", {}, {"q"})}, {"s"});
  EXPECT_TRUE(join.AllChildrenEmpty());
  EXPECT_EQ(0, join.NumSharedStateVariables);
  EXPECT_EQ(0, join.StateSize());
  EXPECT_EQ(0, join.NumStateVariables);
  EXPECT_FALSE(join.HasLocalState());
  EXPECT_EQ(2, join.NumActions);

  TestJoin childless("none", {}, {"s"});
  EXPECT_TRUE(childless.AllChildrenEmpty());
  EXPECT_EQ(0, childless.NumSharedStateVariables);
  EXPECT_EQ(0, childless.StateSize());
}

TEST(JoinTest, AJoinOfAnEmptyAndAFullChildSharesWithTheFullOneOnly) {
  TestJoin join("join", {new TestSAN("a", {}), new TestSAN("b", {{"s", 6}, {"y", 1}})}, {"s"});
  EXPECT_EQ(1, join.SharedLists[0].getNumItems());
  EXPECT_EQ(shorts({1, 6}), stateOf(join));
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

TEST(JoinTest, GroupsAreRenumberedInTheJoinsTable) {
  TestSAN* a = new TestSAN("a", {}, {"a0"});
  TestSAN* b = new TestSAN("b", {}, {"b0", "b1"});
  // b's second group holds the cases c1 and c2.
  composer_test::CachingActivity c1("c1");
  composer_test::CachingActivity c2("c2");
  PostselectGroup cases;
  cases.initialize(2, "cGroup");
  cases.appendGroup(&c1);
  cases.appendGroup(&c2);
  b->Groups[1] = &cases;
  TestJoin join("join", {a, b}, {});
  EXPECT_EQ(3, join.NumActions);
  ASSERT_EQ(3, join.NumGroups);
  EXPECT_EQ(&cases, join.Groups[2]);
  EXPECT_EQ(0, a->activities[0]->GroupID);
  EXPECT_EQ(1, b->activities[0]->GroupID);
  EXPECT_EQ(2, c1.GroupID);
  EXPECT_EQ(2, c2.GroupID);
  EXPECT_EQ(b->activities[1].get(), join.Actions[2]);
}

TEST(JoinTest, LocalStateHoldsTheSharedVariables) {
  TwoChildren m;
  EXPECT_TRUE(m.join.HasLocalState());
  State* saved = nullptr;
  m.join.ConstructLocalState(saved);
  m.join.GetLocalState(saved);
  EXPECT_EQ(shorts({4}), std::string(saved->GetStatePtr(), 2));
  m.s()->setMark(8);
  m.join.SetLocalState(saved);
  EXPECT_EQ(4, m.b->place("s")->getMark());
  m.join.DestructLocalState(saved);
}

TEST(JoinTest, HashShiftsAndAddsTheCharacters) {
  EXPECT_EQ(0u, Join::Hash("", 8));
  EXPECT_EQ(0u, Join::Hash("", 1));
  EXPECT_EQ(1u, Join::Hash("a", 8));
  EXPECT_EQ((98u + (97u << 5)) % 1000u, Join::Hash("ab", 1000));
  // Characters above 127 count as negative.
  EXPECT_EQ((0xFFFFFFFFu + (97u << 5)) % 1000u, Join::Hash("a\xff", 1000));
  EXPECT_EQ(0u, Join::Hash("a", 0));
}

TEST(JoinTest, TheActionNameTableCountsEachName) {
  TestJoin join("join", {new TestSAN("a", {}, {"x", "y"}), new TestSAN("b", {}, {"x", "z"})}, {});
  ASSERT_EQ(12, join.ActionHashSize);
  // x, y and z hash to 0, 1 and 2 (120, 121 and 122 modulo 12).
  EXPECT_STREQ("x", join.ActionNames[0]);
  EXPECT_EQ(2, join.ActionNameCounts[0]);
  EXPECT_STREQ("y", join.ActionNames[1]);
  EXPECT_EQ(1, join.ActionNameCounts[2]);
  EXPECT_EQ(nullptr, join.ActionNames[3]);
}

TEST(JoinTest, CollidingNamesProbeQuadratically) {
  // "0", "T" and "x" (48, 84 and 120) all hash to 0 in 12 slots: then 0 + 1,
  // then 0 - 1 in unsigned arithmetic, which is slot 3.
  TestJoin join("join", {new TestSAN("a", {}, {"x", "T", "0", "T"})}, {});
  ASSERT_EQ(12, join.ActionHashSize);
  EXPECT_STREQ("x", join.ActionNames[0]);
  EXPECT_STREQ("T", join.ActionNames[1]);
  EXPECT_EQ(2, join.ActionNameCounts[1]);
  EXPECT_STREQ("0", join.ActionNames[3]);
  EXPECT_EQ(nullptr, join.ActionNames[11]);
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

TEST(JoinTest, PrintStateShowsChildrenThenSharedVariables) {
  TwoChildren m;
  std::ostringstream os;
  m.join.printState(&os);
  std::string id = [](BaseModelClass* model) { return std::to_string(model->ModelId); }(m.a);
  EXPECT_EQ("Model: (" + std::to_string(m.join.ModelId) + ")join\n" + "Model: (" + id +
                ")a\n  s = 4\n  x = 10\n" + "Model: (" + std::to_string(m.b->ModelId) +
                ")b\n  y = 20\n  s = 4\nShared Variables:\n  s = 4\n",
            os.str());
}

TEST(JoinTest, PrintAllSharedVariablesListsTheChains) {
  TwoChildren m;
  auto address = [](const void* p) {
    std::ostringstream os;
    os << p;
    return os.str();
  };
  testing::internal::CaptureStdout();
  m.join.printAllSharedVariables();
  EXPECT_EQ("Shared Variables for composer node join\n  Shared Variable 0 has name s and address " +
                address(m.s()) + "\n    And here is its list of equivalent variables:\n" +
                "      This link holds state var s at address " + address(m.a->place("s")) +
                "\n      This link holds state var s at address " + address(m.b->place("s")) +
                "\n\n",
            testing::internal::GetCapturedStdout());
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

TEST(JoinDeathTest, LocalStatesOfDifferentSizesDoNotAssign) {
  TwoChildren m;
  TestJoin empty("empty", {}, {});
  State* two = nullptr;
  State* none = nullptr;
  m.join.ConstructLocalState(two);
  empty.ConstructLocalState(none);
  State& target = *two;
  EXPECT_DEATH(target = *none, "Assertion failed: size == _localS->size, file Join.cpp");
  m.join.DestructLocalState(two);
  empty.DestructLocalState(none);
}

}  // namespace
