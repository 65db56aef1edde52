// The files generated for the models whose measures have closed forms
// (tests/solver/models): each kind of variable in the reward type file,
// what each state earns in impulses, and the rewards of a condition.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/TestFiles.h"

namespace {

const char kZero[] = "0.0000000000e+00";

// The lines given, each ended by a line feed.
std::string lines(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) {
    text += item + "\n";
  }
  return text;
}

class MeasureModelFilesTest : public testing::Test {
 protected:
  // Runs experiment of model, writing the files m.* in the scratch directory.
  void generate(const std::string& model, int experiment = 0) {
    const test_files::ProgramRun run =
        dir.run(std::string(MEASURE_MODELS_DIR) + "/" + model + " -P./ -Nm -B" +
                std::to_string(experiment));
    ASSERT_EQ(0, run.status) << run.err;
  }

  test_files::ScratchDir dir{"measures"};
};

TEST_F(MeasureModelFilesTest, TheRepairableComponentEarnsItsFailureImpulseWhileUp) {
  generate("repairable");
  EXPECT_EQ(lines({"Version:1", "NumPV:4",                                          //
                   "Name:availability", "Type:2", "NumTimes:2",                     //
                   "Start:0", "Stop:1", "Start:0", "Stop:10",                       //
                   "Name:downtime", "Type:1", "NumTimes:1", "Start:0", "Stop:10",   //
                   "Name:failures", "Type:1", "NumTimes:2",                         //
                   "Start:0", "Stop:1", "Start:0", "Stop:10",                       //
                   "Name:failure_rate", "Type:3", "NumTimes:0"}),
            dir.read("m.pvtype"));
  // Up, the failure (rate 0.5, impulse 1) earns 0.5 per unit time.
  EXPECT_EQ(lines({"Version:1", "NumPV:4", "availability", "0", "downtime", "0", "failures",
                   "1", "failure_rate", "1",                                   //
                   "1", kZero, kZero, "5.0000000000e-01", "5.0000000000e-01", "0",  //
                   "2", kZero, kZero, kZero, kZero, "0"}),
            dir.read("m.imp"));
}

TEST_F(MeasureModelFilesTest, TheQueueAsksItsLengthFourWaysAndEarnsEachDeparture) {
  generate("mm1k");
  EXPECT_EQ(lines({"Version:1", "NumPV:7",                                                 //
                   "Name:throughput", "Type:3", "NumTimes:0",                              //
                   "Name:departures", "Type:1", "NumTimes:1", "Start:0", "Stop:50",        //
                   "Name:blocking", "Type:3", "NumTimes:0",                                //
                   "Name:length", "Type:0", "NumTimes:1", "Start:50", "Stop:50",           //
                   "Name:length_accumulated", "Type:1", "NumTimes:1", "Start:0", "Stop:50",  //
                   "Name:length_average", "Type:2", "NumTimes:1", "Start:0", "Stop:50",    //
                   "Name:length_long_run", "Type:3", "NumTimes:0"}),
            dir.read("m.pvtype"));
  // States 1 to 4 hold 0 to 3 customers; each busy state serves at rate 2.
  std::vector<std::string> expected = {"Version:1", "NumPV:7", "throughput", "1",
                                       "departures", "1", "blocking", "0", "length", "0",
                                       "length_accumulated", "0", "length_average", "0",
                                       "length_long_run", "0"};
  for (int state = 1; state <= 4; state++) {
    const std::string served = state > 1 ? "2.0000000000e+00" : kZero;
    const std::vector<std::string> record = {std::to_string(state), served, served, kZero,
                                             kZero, kZero, kZero, kZero, "0"};
    expected.insert(expected.end(), record.begin(), record.end());
  }
  EXPECT_EQ(lines(expected), dir.read("m.imp"));
}

TEST_F(MeasureModelFilesTest, AConditionIsOneInTheStatesWhereItHoldsWithOrWithoutRepair) {
  // States 5 to 8 have two or three components down.
  std::vector<std::string> rewards = {"mttf", "failed"};
  for (int state = 1; state <= 8; state++) {
    const std::string holds = state >= 5 ? "1" : "0";
    const std::vector<std::string> record = {std::to_string(state), "0", holds, "0", holds};
    rewards.insert(rewards.end(), record.begin(), record.end());
  }
  for (int experiment : {0, 1}) {
    SCOPED_TRACE("experiment " + std::to_string(experiment));
    generate("two_of_three", experiment);
    EXPECT_EQ(lines({"Version:1", "NumPV:2", "Name:mttf", "Type:4", "NumTimes:0",  //
                     "Name:failed", "Type:5", "NumTimes:2",                        //
                     "Start:1", "Stop:1", "Start:10", "Stop:10"}),
              dir.read("m.pvtype"));
    EXPECT_EQ(lines(rewards), dir.read("m.var"));
    EXPECT_FALSE(dir.exists("m.imp")) << "no impulses, no impulse file";
  }
}

TEST_F(MeasureModelFilesTest, TheRebootEarnsItsImpulseOncePerFixedDelay) {
  generate("reboot");
  EXPECT_EQ(lines({"Version:1", "NumPV:5",                                             //
                   "Name:available", "Type:0", "NumTimes:3",                           //
                   "Start:0.5", "Stop:0.5", "Start:1.5", "Stop:1.5", "Start:2.5",      //
                   "Stop:2.5",                                                         //
                   "Name:availability", "Type:3", "NumTimes:0",                        //
                   "Name:reboots", "Type:1", "NumTimes:1", "Start:0", "Stop:2.5",      //
                   "Name:reboots_late", "Type:2", "NumTimes:1", "Start:1.5",           //
                   "Stop:2.5",                                                         //
                   "Name:reboot_rate", "Type:3", "NumTimes:0"}),
            dir.read("m.pvtype"));
  // Down (state 2), the reboot (activity 1, delay 1) is enabled and earns 1
  // per firing; no timed firing earns anything.
  EXPECT_EQ(lines({"Version:1", "NumPV:5", "available", "0", "availability", "0", "reboots",
                   "1", "reboots_late", "1", "reboot_rate", "1",                         //
                   "1", kZero, kZero, kZero, kZero, kZero, "0",                          //
                   "2", kZero, kZero, kZero, kZero, kZero, "1",                          //
                   "1", "1.0000000000e+00", kZero, kZero, "1.0000000000e+00",            //
                   "1.0000000000e+00", "1.0000000000e+00"}),
            dir.read("m.imp"));
}

}  // namespace
