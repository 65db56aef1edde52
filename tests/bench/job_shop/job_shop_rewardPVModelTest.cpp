// The job-shop model in process: the shared queues, the routing ranks and
// weights, and the rewards (the impulse of a rejection).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "job_shop.h"

namespace {

class JobShopModelTest : public testing::Test {
 protected:
  void SetUp() override {
    queue_capacity = 4;
    model.ConsiderOnly(nullptr, -1);
  }

  void setQueues(short q1, short q2, short q3, short q4) {
    dispatcher.q1->setMark(q1);
    dispatcher.q2->setMark(q2);
    dispatcher.q3->setMark(q3);
    dispatcher.q4->setMark(q4);
  }

  void fire(BaseActionClass* action) { model.FireAction(state.data(), action); }

  job_shop_rewardPVModel model{false};
  job_shopRJ& join = *static_cast<job_shopRJ*>(model.ChildModel);
  dispatcherSAN& dispatcher = *join.dispatcher;
  std::vector<char> state = std::vector<char>(model.StateSize());
};

TEST_F(JobShopModelTest, TheQueuesAndDoneAreOneCellEach) {
  // arrived, then the join's q1..q4 and done.
  EXPECT_EQ(12, model.StateSize());
  EXPECT_EQ(12, model.NumActions);
  EXPECT_EQ(8, model.NumGroups);
  EXPECT_EQ(join.q1->Value, join.machine1->queue->Mark);
  EXPECT_EQ(join.q1->Value, dispatcher.route_case1.q1_Mark);
  EXPECT_EQ(join.q1->Value, dispatcher.reject.q1_Mark);
  EXPECT_EQ(join.q4->Value, join.machine4->serve.queue_Mark);
  EXPECT_EQ(join.done->Value, dispatcher.inspect_case2.done_Mark);
  EXPECT_EQ(join.done->Value, join.machine1->serve.done_Mark);
  EXPECT_EQ(join.done->Value, join.machine4->serve.done_Mark);

  dispatcher.arrived->setMark(1);
  setQueues(1, 2, 3, 4);
  join.machine3->serve.Fire();
  std::vector<short> vector(6);
  join.CurrentState(vector.data());
  EXPECT_EQ(std::vector<short>({1, 1, 2, 2, 4, 1}), vector);
}

TEST_F(JobShopModelTest, IdleMachinesOutrankBusyOnesAndFreeRoomWeighs) {
  dispatcher.arrived->setMark(1);
  setQueues(0, 1, 3, 4);
  EXPECT_TRUE(dispatcher.route_case1.Enabled());
  EXPECT_TRUE(dispatcher.route_case2.Enabled());
  EXPECT_TRUE(dispatcher.route_case3.Enabled());
  EXPECT_FALSE(dispatcher.route_case4.Enabled());
  EXPECT_FALSE(dispatcher.reject.Enabled());
  EXPECT_EQ(2, dispatcher.route_case1.Rank());
  EXPECT_EQ(1, dispatcher.route_case2.Rank());
  EXPECT_EQ(4.0, dispatcher.route_case1.Weight());
  EXPECT_EQ(3.0, dispatcher.route_case2.Weight());
  EXPECT_EQ(1.0, dispatcher.route_case3.Weight());
  EXPECT_EQ(1.0, dispatcher.routeGroup.Probability(&dispatcher.route_case1));
  EXPECT_EQ(0.0, dispatcher.routeGroup.Probability(&dispatcher.route_case2));

  setQueues(4, 4, 4, 4);
  EXPECT_FALSE(dispatcher.route_case1.Enabled());
  EXPECT_TRUE(dispatcher.reject.Enabled());
  dispatcher.arrived->setMark(0);
  EXPECT_FALSE(dispatcher.reject.Enabled());
}

TEST_F(JobShopModelTest, EachRejectionEarnsAnImpulseOfOne) {
  PerformanceVariableNode& rejections = *model.PVList[4];
  EXPECT_STREQ("rejections", rejections.Name);
  EXPECT_EQ(0, rejections.NumWorkers);
  EXPECT_EQ(1, model.NumImpulseAffectingActions);

  setQueues(4, 4, 4, 4);
  fire(&dispatcher.arrive);
  EXPECT_EQ(0.0, rejections.ImpulseReward);
  fire(&dispatcher.reject);
  EXPECT_EQ(1.0, rejections.ImpulseReward);
  EXPECT_EQ(0.0, rejections.RateReward);
  for (int k = 0; k < 4; k++) {
    EXPECT_EQ(4.0, model.PVList[k]->RateReward);
  }
  fire(&join.machine2->serve);
  EXPECT_EQ(0.0, rejections.ImpulseReward);
  EXPECT_EQ(3.0, model.PVList[1]->RateReward);
  fire(&dispatcher.inspect_case2);
  fire(&dispatcher.route_case2);
  EXPECT_EQ(0.0, rejections.ImpulseReward);
  EXPECT_EQ(4.0, model.PVList[1]->RateReward);
}

}  // namespace
