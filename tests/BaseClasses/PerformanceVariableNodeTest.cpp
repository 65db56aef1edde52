#include <gtest/gtest.h>

#include "Cpp/BaseClasses/ImpulseNodeClass.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "tests/BaseClasses/TinyRewardModels.h"

namespace {

// Two instances of model "a" and three of model "b", each with a place p.
class PerformanceVariableNodeTest : public testing::Test {
 protected:
  void SetUp() override {
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

TEST_F(PerformanceVariableNodeTest, WorkersEnumerateInstanceCombinationsFirstDependencySlowest) {
  tiny::Node node("v", 0, 2, 0);
  node.AddModelDependency("a");
  node.AddModelDependency("b");
  node.AddModelDependency("a");  // once per model
  Link(node);
  ASSERT_EQ(6, node.NumWorkers);
  for (int w = 0; w < 6; w++) {
    SCOPED_TRACE(w);
    EXPECT_EQ(a(w / 3), node.worker(w)->Models[0]);
    EXPECT_EQ(b(w % 3), node.worker(w)->Models[1]);
    EXPECT_EQ(w, node.worker(w)->Index);
  }
  EXPECT_EQ(join.get(), node.Top);
}

TEST_F(PerformanceVariableNodeTest, ImpulseWorkersComeInOneBlockPerInstanceOfTheOwnModel) {
  tiny::Node node("v", 2, 0, 0);
  tiny::Impulse* impulse = node.AddOwnImpulse(2);
  node.AddImpulse("incP", "a", impulse);
  node.AddImpulse("incP", "a", impulse);  // registered once
  node.AddImpulseModelDependency("b", impulse);
  Link(node);
  ASSERT_EQ(1, node.NumImpulses);
  EXPECT_EQ(2, node.NumImpulseModelInstances[0]);
  ASSERT_EQ(6, node.NumImpulseWorkers[0]);
  for (int w = 0; w < 6; w++) {
    SCOPED_TRACE(w);
    tiny::Impulse* worker = static_cast<tiny::Impulse*>(node.ImpulseWorkers[0][w]);
    EXPECT_EQ(a(w / 3), worker->OwnModel);
    EXPECT_EQ(a(w / 3), worker->Models[0]);
    EXPECT_EQ(b(w % 3), worker->Models[1]);
    EXPECT_EQ(w, worker->Index);
  }
}

TEST_F(PerformanceVariableNodeTest, InconsistentModelsEndWithStatusOne) {
  tiny::Node node("v", 1, 2, 0);
  tiny::Impulse stranger(1);
  EXPECT_EXIT(node.AddImpulseModelDependency("b", &stranger), testing::ExitedWithCode(1),
              "^Model Dependency requested on undefined impulse.\n"
              "  Check code generator.  Error code GP0001.\n$");

  node.AddModelDependency("a");
  node.AddModelDependency("zzz");
  node.FixReferences(join.get());
  EXPECT_EXIT(node.CreateModelGroupList(), testing::ExitedWithCode(1),
              "^Number of zzz's was 0\\.  Model cannot be created\\.\nModel Name was: Join\n\\.$");
}

TEST(PerformanceVariableNodeDeathTest, RegisteringBeyondTheDeclaredRoomFailsAnAssertion) {
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

}  // namespace
