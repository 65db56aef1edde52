#include <gtest/gtest.h>

#include "Cpp/BaseClasses/PerformanceVariableWorker.h"

namespace {

// A worker class that forgot to supply CurrentReward.
class PlainWorker : public PerformanceVariableWorker {
 public:
  double Reward_Function() override { return 2.0; }
  void Accumulate(double, double) override {}
};

class ConstantWorker : public InstantOfTime {
 public:
  double Reward_Function() override { return 0.25; }
};

TEST(PerformanceVariableWorkerTest, TheBaseCurrentRewardOnlyComplains) {
  PlainWorker worker;
  worker.Value = 7.0;
  testing::internal::CaptureStderr();
  worker.CurrentReward();
  EXPECT_EQ("!! Calling PerformanceVariableWorker::CurrentReward()\n",
            testing::internal::GetCapturedStderr());
  EXPECT_EQ(7.0, worker.Value);
  worker.Reset();
  EXPECT_EQ(0.0, worker.Value);
}

TEST(PerformanceVariableWorkerTest, InstantOfTimeStoresTheRewardOfTheMarking) {
  ConstantWorker worker;
  EXPECT_EQ(-1, worker.Index);
  EXPECT_EQ(-1, worker.PVId);
  EXPECT_EQ(0, worker.NumModelRefs);
  worker.CurrentReward();
  EXPECT_EQ(0.25, worker.Value);
  worker.DefineName("first", 0);
  worker.DefineName("reliability", 3);
  EXPECT_STREQ("reliability", worker.Name);
  EXPECT_EQ(3, worker.Index);
}

}  // namespace
