#include <gtest/gtest.h>

#include "Cpp/BaseClasses/ImpulseNodeClass.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "tests/BaseClasses/TinyRewardModels.h"

namespace {

// Two instances of model "a" and three of model "b", each with a place p.
class PerformanceVariableNodeTest : public testing::Test {
 protected:
  void SetUp() override {
    PerformanceVariableNode::the_id = 0;
    std::vector<tiny::Model*> children;
    for (const char* name : {"a", "a", "b", "b", "b"}) {
      tiny::Model* m = new tiny::Model(name);
      m->AddAction("incP", m->AddPlace("p"));
      children.push_back(m);
    }
    join = std::make_unique<tiny::Join>(children);
  }
  BaseModelClass* a(int i) { return join->children[i]; }
  BaseModelClass* b(int i) { return join->children[2 + i]; }
  void Link(tiny::Node& node) {
    node.FixReferences(join.get());
    node.CreateModelGroupList();
    node.CreateWorkerList();
    node.FixWorkerList();
    node.CreateImpulseModelGroupList();
    node.CreateImpulseWorkerLists();
    node.FixImpulseWorkerLists();
  }

  std::unique_ptr<tiny::Join> join;
};

TEST_F(PerformanceVariableNodeTest, InitializeTakesIdsInOrderAndSelectsTheTimePoint) {
  tiny::Node first("first", 0, 0, 0);
  tiny::Node second("second", 0, 0, 0, "p", 1, 3);
  EXPECT_EQ(0, first.PVId);
  EXPECT_EQ(1, second.PVId);
  EXPECT_STREQ("second", second.Name);
  EXPECT_EQ(3, second.GetNumTimePoints());
  EXPECT_EQ(400.0, second.StartTime);
  EXPECT_EQ(400.0, second.StopTime);
  EXPECT_EQ(365.0, second.GetStartTime(0));
  EXPECT_EQ(0.5, second.GetStopTime(2));
  EXPECT_EQ(InstantOfTimeType, second.GetRewardType());
  EXPECT_EQ(nullptr, second.Impulses);
}

TEST_F(PerformanceVariableNodeTest, DependenciesRecordEveryPairAndEachModelOnce) {
  tiny::Node node("v", 0, 3, 2);
  node.AddVariableDependency("x", "ram");
  node.AddVariableDependency("y", "ram");
  node.AddModelDependency("flash");
  node.AddModelDependency("ram");
  ASSERT_EQ(2, node.NumVariableDependencies);
  EXPECT_STREQ("ram", node.VariableDependencies[0].ModelName);
  EXPECT_STREQ("x", node.VariableDependencies[0].VariableName);
  EXPECT_STREQ("y", node.VariableDependencies[1].VariableName);
  ASSERT_EQ(2, node.NumModelDependencies);
  EXPECT_STREQ("ram", node.ModelDependencies[0]);
  EXPECT_STREQ("flash", node.ModelDependencies[1]);
  EXPECT_TRUE(node.IsDependentOnModel("flash"));
  EXPECT_FALSE(node.IsDependentOnModel("fla"));
}

TEST_F(PerformanceVariableNodeTest, ImpulsesAreRegisteredOnceWithTheirOwnModel) {
  tiny::Node node("v", 2, 0, 0);
  tiny::Impulse* impulse = node.AddOwnImpulse(2);
  node.AddImpulse("fire", "a", impulse);
  node.AddImpulse("shoot", "a", impulse);
  node.AddImpulseModelDependency("b", impulse);
  node.AddImpulseModelDependency("b", impulse);
  ASSERT_EQ(1, node.NumImpulses);
  EXPECT_EQ(0, node.GetImpulseNumber(impulse));
  EXPECT_STREQ("shoot", node.ImpulseActions[0].ActionName);
  EXPECT_STREQ("a", node.ImpulseActions[0].ModelName);
  ASSERT_EQ(2, node.NumImpulseModelDependencies[0]);
  EXPECT_TRUE(node.IsDependentOnImpulseModel("a", 0));
  EXPECT_TRUE(node.IsDependentOnImpulseModel("b", 0));
  node.AddImpulseActionDependency("burn", "ignored", 0);
  EXPECT_STREQ("burn", node.ImpulseActions[0].ActionName);
  EXPECT_STREQ("a", node.ImpulseActions[0].ModelName);
  tiny::Impulse stranger(1);
  EXPECT_EQ(-1, node.GetImpulseNumber(&stranger));
}

TEST_F(PerformanceVariableNodeTest, RegisteringBeyondTheDeclaredRoomFailsAnAssertion) {
  tiny::Node node("v", 1, 1, 1);
  node.AddVariableDependency("x", "ram");
  EXPECT_DEATH(node.AddVariableDependency("y", "ram"),
               "NumVariableDependencies < VariableDependencyCapacity, file "
               "PerformanceVariableNode.cpp");
  EXPECT_DEATH(node.AddModelDependency("flash"), "NumModelDependencies < ModelDependencyCapacity");
  node.AddImpulse("fire", "a", node.AddOwnImpulse(1));
  EXPECT_DEATH(node.AddImpulse("fire", "a", node.AddOwnImpulse(1)),
               "NumImpulses < ImpulseCapacity");
}

TEST_F(PerformanceVariableNodeTest, AModelDependencyOfAnUndeclaredImpulseEndsWithStatusZero) {
  tiny::Node node("v", 1, 0, 0);
  tiny::Impulse stranger(1);
  EXPECT_EXIT(node.AddImpulseModelDependency("b", &stranger), testing::ExitedWithCode(0),
              "^Model Dependency requested on undefined impulse.\n"
              "  Check code generator.  Error code GP0001.\n$");
}

TEST_F(PerformanceVariableNodeTest, WorkersEnumerateInstanceCombinationsFirstDependencySlowest) {
  tiny::Node node("v", 0, 2, 0);
  node.AddModelDependency("a");
  node.AddModelDependency("b");
  Link(node);
  ASSERT_EQ(6, node.NumWorkers);
  for (int w = 0; w < 6; w++) {
    SCOPED_TRACE(w);
    EXPECT_EQ(a(w / 3), node.worker(w)->Models[0]);
    EXPECT_EQ(b(w % 3), node.worker(w)->Models[1]);
    EXPECT_TRUE(node.ModelGroups[w].IsDependentOnModel(a(w / 3)));
    EXPECT_STREQ("v", node.worker(w)->Name);
    EXPECT_EQ(w, node.worker(w)->Index);
    EXPECT_EQ(node.PVId, node.worker(w)->PVId);
  }
  EXPECT_EQ(join.get(), node.Top);
}

TEST_F(PerformanceVariableNodeTest, RateWorkersOfAnActionAreThoseOfItsInstance) {
  tiny::Node node("v", 0, 2, 0);
  node.AddModelDependency("a");
  node.AddModelDependency("b");
  Link(node);
  BaseActionClass action;
  action.AllocatePVRateDS(1);
  node.AddPVWorkersToAction(&action, b(1));
  action.PVRateWorkers[0].NoMoreModifications();
  ASSERT_EQ(2, action.PVRateWorkers[0].size());
  EXPECT_EQ(1, action.PVRateWorkers[0][0]);
  EXPECT_EQ(4, action.PVRateWorkers[0][1]);
  action.DeallocatePVRateDS();
}

TEST_F(PerformanceVariableNodeTest, ANodeWithoutModelDependenciesHasNoWorkerAndRewardZero) {
  tiny::Node node("v", 0, 0, 0);
  Link(node);
  EXPECT_EQ(0, node.NumWorkers);
  node.RateReward = 5.0;
  BaseActionClass fired;
  fired.AffectedNodesByImpulseReward.NoMoreModifications();
  node.CurrentReward(&fired);
  EXPECT_EQ(0.0, node.RateReward);
  EXPECT_EQ(0.0, node.ImpulseReward);
}

TEST_F(PerformanceVariableNodeTest, AModelWithoutInstancesEndsWithStatusZero) {
  tiny::Node node("v", 0, 2, 0);
  node.AddModelDependency("a");
  node.AddModelDependency("zzz");
  node.FixReferences(join.get());
  EXPECT_EQ(0, node.NumWorkers);
  EXPECT_EXIT(node.CreateModelGroupList(), testing::ExitedWithCode(0),
              "^Number of zzz's was 0\\.  Model cannot be created\\.\nModel Name was: Join\n\\.$");
  delete[] join->Name;
  join->Name = nullptr;
  EXPECT_EXIT(node.CreateModelGroupList(), testing::ExitedWithCode(0),
              "Model cannot be created\\.\nModel Name was: NULL\n$");
}

TEST_F(PerformanceVariableNodeTest, ImpulseWorkersComeInOneBlockPerInstanceOfTheOwnModel) {
  tiny::Node node("v", 1, 0, 0);
  tiny::Impulse* impulse = node.AddOwnImpulse(2);
  node.AddImpulse("incP", "a", impulse);
  node.AddImpulseModelDependency("b", impulse);
  Link(node);
  EXPECT_EQ(2, node.NumImpulseModelInstances[0]);
  ASSERT_EQ(6, node.NumImpulseWorkers[0]);
  for (int w = 0; w < 6; w++) {
    SCOPED_TRACE(w);
    tiny::Impulse* worker = static_cast<tiny::Impulse*>(node.ImpulseWorkers[0][w]);
    EXPECT_EQ(a(w / 3), worker->OwnModel);
    EXPECT_EQ(a(w / 3), worker->Models[0]);
    EXPECT_EQ(b(w % 3), worker->Models[1]);
    EXPECT_STREQ("v", worker->Name);
    EXPECT_EQ(0, worker->ImpulseIndex);
    EXPECT_EQ(w, worker->Index);
    EXPECT_EQ(node.PVId, worker->PVId);
  }
}

TEST_F(PerformanceVariableNodeTest, AnImpulseReadingOnlyItsOwnModelHasOneWorkerPerInstance) {
  tiny::Node node("v", 1, 0, 0);
  tiny::Impulse* impulse = node.AddOwnImpulse(1);
  node.AddImpulse("incP", "b", impulse);
  Link(node);
  ASSERT_EQ(3, node.NumImpulseWorkers[0]);
  for (int w = 0; w < 3; w++) {
    tiny::Impulse* worker = static_cast<tiny::Impulse*>(node.ImpulseWorkers[0][w]);
    EXPECT_EQ(b(w), worker->OwnModel);
    EXPECT_EQ(b(w), worker->Models[0]);
  }
}

TEST(ImpulseNodeClassTest, NamesAndHelpers) {
  tiny::Impulse impulse(1);
  EXPECT_EQ(-1, impulse.Index);
  EXPECT_EQ(-1, impulse.ImpulseIndex);
  EXPECT_EQ(-1, impulse.PVId);
  impulse.DefineName("old", 0, 0);
  impulse.DefineName("reliability", 2, 5);
  EXPECT_STREQ("reliability", impulse.Name);
  EXPECT_EQ(2, impulse.ImpulseIndex);
  EXPECT_EQ(5, impulse.Index);
  impulse.EvaluateImpulse();
  EXPECT_EQ(6.0, impulse.Value);
  impulse.Reset();
  EXPECT_EQ(0.0, impulse.Value);
  EXPECT_EQ(1.0, ImpulseNodeClass::min(1.0, 2.0));
  EXPECT_EQ(2.0, ImpulseNodeClass::max(1.0, 2.0));
}

}  // namespace
