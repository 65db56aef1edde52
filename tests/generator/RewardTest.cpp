#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "generator/Reward.h"
#include "tests/BaseClasses/TinyRewardModels.h"
#include "tests/TestFiles.h"

namespace {

// A reward model with two nodes, "n0" and "n1", over an empty composition.
class RewardTest : public testing::Test {
 protected:
  RewardTest()
      : model(new tiny::Join({}), 2, false,
              [](int pv, int) { return new tiny::Node(pv == 0 ? "n0" : "n1", 0, 0, 0); }),
        file(test_files::currentTestName() + ".var") {}
  // The file is the run's global one: closed, it leaves no writer thread
  // behind for the next test (a death test's child could not end it).
  ~RewardTest() override { rewfile.close(); }

  void SetValues(double impulse0, double rate0, double impulse1, double rate1) {
    model.PVList[0]->ImpulseReward = impulse0;
    model.PVList[0]->RateReward = rate0;
    model.PVList[1]->ImpulseReward = impulse1;
    model.PVList[1]->RateReward = rate1;
  }

  // What the reward file holds once its buffered records are written out.
  std::string written() {
    rewfile.flush();
    return file.read();
  }

  tiny::RewardModel model;
  test_files::TempFile file;
};

TEST_F(RewardTest, TextRecordsHoldTheNumberThenImpulseAndRateOfEachNode) {
  {
    Reward reward(&model, 1, file.c_str());
    EXPECT_EQ("n0\nn1\n", written());
    SetValues(0.0, 1.0, 2.5, 0.0);
    reward.Calculate(7);
    EXPECT_EQ("n0\nn1\n7\n0\n1\n2.5\n0\n", written());
    SetValues(1e-07, 0.5, 123456789.0, 1.0 / 3);
    reward.Calculate(4294967295UL);
    EXPECT_EQ("n0\nn1\n7\n0\n1\n2.5\n0\n4294967295\n1e-07\n0.5\n1.23457e+08\n0.333333\n",
              written());
    EXPECT_TRUE(reward.good());
  }
  for (short code : {3, 5}) {  // also text
    Reward reward(&model, code, file.c_str());
    reward.Calculate(1);
    EXPECT_EQ("n0\nn1\n1\n1e-07\n0.5\n1.23457e+08\n0.333333\n", written());
  }
}

TEST_F(RewardTest, BinaryRecordsAreTheRawNumberAndDoubles) {
  Reward reward(&model, 0, file.c_str());
  SetValues(0.0, 1.0, 2.5, -0.25);
  reward.Calculate(7);
  std::string file = written();
  const std::string header = "n0\nn1\n";
  ASSERT_EQ(header.size() + 4 + 16 * 2, file.size());
  const char* record = file.data() + header.size();
  std::uint32_t number;
  double values[4];
  std::memcpy(&number, record, 4);
  std::memcpy(values, record + 4, sizeof values);
  EXPECT_EQ(7u, number);
  EXPECT_EQ(0.0, values[0]);
  EXPECT_EQ(1.0, values[1]);
  EXPECT_EQ(2.5, values[2]);
  EXPECT_EQ(-0.25, values[3]);
}

TEST_F(RewardTest, AModelWithoutVariablesWritesOnlyStateNumbers) {
  tiny::RewardModel empty(new tiny::Join({}), 0, false, nullptr);
  Reward reward(&empty, 1, file.c_str());
  reward.Calculate(1);
  reward.Calculate(2);
  EXPECT_EQ("1\n2\n", written());
}

TEST_F(RewardTest, ANodeWithoutANameStopsTheFileAndIsReported) {
  delete[] model.PVList[0]->Name;
  model.PVList[0]->Name = nullptr;
  Reward reward(&model, 1, file.c_str());
  reward.Calculate(1);
  EXPECT_EQ("", written());
  EXPECT_FALSE(reward.good());
}

TEST_F(RewardTest, ARewardThatIsNotAFiniteNumberEndsTheRunNamingIt) {
  // The file's writer thread is started in the death test's own process.
  const auto calculate = [this](unsigned long state) {
    Reward reward(&model, 1, file.c_str());
    reward.Calculate(state);
  };
  SetValues(0.0, 1.0, 0.0, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EXIT(calculate(3), testing::ExitedWithCode(1),
              "^Error: reward variable n1 of model .* has the rate reward nan in state 3; rewards "
              "must be finite numbers\n$");
  SetValues(-std::numeric_limits<double>::infinity(), 1.0, 0.0, 0.0);
  EXPECT_EXIT(calculate(4), testing::ExitedWithCode(1),
              "reward variable n0 of model .* has the impulse reward -inf in state 4");
}

TEST_F(RewardTest, AFileThatCannotBeOpenedEndsTheRun) {
  EXPECT_EXIT(Reward(&model, 1, "/nonexistent-directory/x.var"), testing::ExitedWithCode(1),
              "^Error: Could not open reward file\n  /nonexistent-directory/x.var: No such file or "
              "directory\n$");
}

}  // namespace
