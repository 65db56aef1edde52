// Impulse rewards over a join that holds two instances of one atomic model:
// an impulse is earned only through the firing instance's copy of its
// action, and evaluated by that instance's impulse worker.

#include <gtest/gtest.h>

#include <vector>

#include "Cpp/BaseClasses/ImpulseNodeClass.h"
#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "Cpp/BaseClasses/PerformanceVariableWorker.h"
#include "Cpp/Composer/Join.h"
#include "basic_model.h"

namespace {

// Two RAM models side by side, both named "ram_system", sharing nothing.
class TwoRams : public Join {
 public:
  TwoRams() : Join("TwoRams", 2, 0, nullptr) {
    for (int i = 0; i < 2; i++) {
      rams[i] = new ram_systemSAN();
      rams[i]->DefineName("ram_system");
      Children[i] = rams[i];
    }
    SetupActions();
    Setup();
  }
  ~TwoRams() override {
    delete rams[0];
    delete rams[1];
  }
  ram_systemSAN* rams[2];
};

short corrupted(BaseModelClass* ram) {
  return static_cast<ram_systemSAN*>(ram)->ram_corrupted->getMark();
}

// The impulse of a random failure: the corruption count of the failing RAM.
class FailureImpulse : public ImpulseNodeClass {
 public:
  FailureImpulse() {
    NumModelDependencies = 1;
    NumModelRefs = 1;
    ModelRefs = new BaseModelClass** [1] { &ram };
  }
  void EvaluateImpulse() override { Value = corrupted(ram); }
  ImpulseNodeClass** CreateImpulseWorkers(int n) override {
    ImpulseNodeClass** workers = new ImpulseNodeClass*[n];
    for (int w = 0; w < n; w++) {
      workers[w] = new FailureImpulse();
    }
    return workers;
  }
  BaseModelClass* ram = nullptr;
};

// Rate reward: the corruption count of its RAM.
class CorruptionWorker : public InstantOfTime {
 public:
  CorruptionWorker() {
    NumModelRefs = 1;
    ModelRefs = new BaseModelClass** [1] { &ram };
  }
  double Reward_Function() override { return corrupted(ram); }
  BaseModelClass* ram = nullptr;
};

class FailureNode : public PerformanceVariableNode {
 public:
  FailureNode() {
    TopModelRef = &top;
    const double times[] = {1.0};
    Initialize("failures", InstantOfTimeType, 1, times, times, 0, 1, 1, 1);
    AddVariableDependency("ram_corrupted", "ram_system");
    AddImpulse("random_failure", "ram_system", &impulse);
  }
  void CreateWorkerList() override {
    for (int w = 0; w < NumWorkers; w++) {
      Workers[w] = new CorruptionWorker();
    }
  }
  BaseModelClass* top = nullptr;
  FailureImpulse impulse;
};

class FailureRewardModel : public PVModel {
 public:
  FailureRewardModel() {
    ChildModel = new TwoRams();
    DefineName("failureRewards");
    CreatePVList(1, false);
    Initialize();
    ConsiderOnly(nullptr, -1);
  }
  PerformanceVariableNode* createPVNode(int pv, int) override {
    return pv == 0 ? new FailureNode() : nullptr;
  }
};

class PVModelImpulseTest : public testing::Test {
 protected:
  void fire(BaseActionClass* action) { model.FireAction(state.data(), action); }

  FailureRewardModel model;
  ram_systemSAN& first = *static_cast<TwoRams*>(model.ChildModel)->rams[0];
  ram_systemSAN& second = *static_cast<TwoRams*>(model.ChildModel)->rams[1];
  PerformanceVariableNode& node = *model.PVList[0];
  std::vector<char> state = std::vector<char>(model.StateSize());
};

TEST_F(PVModelImpulseTest, OnlyTheFiringInstanceEarnsTheImpulse) {
  first.ram_corrupted->setMark(5);
  fire(&second.random_failure);
  EXPECT_EQ(1.0, node.ImpulseReward);
  EXPECT_EQ(6.0, node.RateReward);
  fire(&first.random_failure);
  EXPECT_EQ(6.0, node.ImpulseReward);
  EXPECT_EQ(7.0, node.RateReward);
  // Other actions and aging earn none.
  fire(&second.bit_error_case2);
  EXPECT_EQ(0.0, node.ImpulseReward);
  EXPECT_EQ(8.0, node.RateReward);
  model.AgeAction(state.data(), &first.random_failure);
  EXPECT_EQ(0.0, node.ImpulseReward);
}

}  // namespace
