// The files written on request beside the usual ones: each state's marking
// (-M, ".states") and which activity and delay each deterministic firing
// belongs to (-D, ".firings"). The usual files keep every byte.
#include <gtest/gtest.h>

#include <string>

#include "tests/TestFiles.h"
#include "tests/generator/GeneratorOutput.h"
#include "tests/generator/GeneratorTestModels.h"
#include "tests/generator/RequestedFiles.h"

namespace {

using ssg_test::deterministic;
using ssg_test::exponential;
using ssg_test::markingIs;
using ssg_test::setMarking;
using ssg_test::TestPVModel;
using test_files::ScratchDir;

// The states of experiment 0 in the order of the state vector, and the
// firings of power_cycle (delay 1e19) and watchdog_reboot (0.00347), which
// states 5, 6 and 8 enable together.
const char kStates[] =
    "state flash_system.flash_working ram_system.ram_working ram_system.ram_corrupted "
    "flash_corrupted\n"
    "1 1 1 0 0\n2 0 1 0 1\n3 1 1 1 0\n4 1 0 1 0\n5 0 1 1 1\n6 0 0 1 1\n7 1 0 2 0\n8 0 0 2 1\n";
const char kFirings[] =
    "Activities:2\n1 power_cycle\n2 watchdog_reboot\n"
    "2 1 1.0000000000e+19 1 1.0000000000e+00\n"
    "3 2 3.4700000000e-03 1 1.0000000000e+00\n"
    "4 2 3.4700000000e-03 1 1.0000000000e+00\n"
    "5 1 1.0000000000e+19 3 1.0000000000e+00\n"
    "5 2 3.4700000000e-03 2 1.0000000000e+00\n"
    "6 1 1.0000000000e+19 4 1.0000000000e+00\n"
    "6 2 3.4700000000e-03 2 1.0000000000e+00\n"
    "7 2 3.4700000000e-03 1 1.0000000000e+00\n"
    "8 1 1.0000000000e+19 7 1.0000000000e+00\n"
    "8 2 3.4700000000e-03 2 1.0000000000e+00\n";

TEST(RequestedFilesTest, TheModelOfThisBuildNamesItsStatesAndFirings) {
  ScratchDir dir;
  const std::string gen = GEN_EXECUTABLE;
  ASSERT_EQ(0, dir.run(gen + " -Pplain. -Ne1 -B0").status);
  ASSERT_EQ(0, dir.run(gen + " -Pasked. -Ne1 -B0 -M -D").status);
  for (const char* suffix : {".arm", ".var", ".pvtype", ".det"}) {
    EXPECT_EQ(dir.read(std::string("plain.e1") + suffix),
              dir.read(std::string("asked.e1") + suffix))
        << suffix;
  }
  EXPECT_FALSE(dir.exists("plain.e1.states"));
  EXPECT_FALSE(dir.exists("plain.e1.firings"));
  EXPECT_EQ(kStates, dir.read("asked.e1.states"));
  EXPECT_EQ(kFirings, dir.read("asked.e1.firings"));
}

class RequestedFilesRunTest : public ssg_test::GeneratorRunTest {
 protected:
  void runAsking(TestPVModel& model) { ssg_test::generateAsking(&model, dir.prefix()); }
};

// The ".arm" file sums the rate 2 and the case probability 0.3 that lead to
// state 2 into 2 - 0.3; the firing's outcomes stand apart in ".firings".
TEST_F(RequestedFilesRunTest, FiringsSplitWhatTheStateSpaceFileSums) {
  TestPVModel model("net", {{"q", 0}},
                    {exponential("e", 2.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     deterministic("d", 1.5)
                         .when(markingIs(0, 0))
                         .fires(setMarking(0, 1), 0.3)
                         .fires(setMarking(0, 2), 0.7)});
  runAsking(model);
  EXPECT_EQ("1: 2=1.7000000000e+00 3=-7.0000000000e-01\n2:\n3:",
            ssg_test::armRecords(dir.read("m.arm"), ssg_test::kDeterministicPlaceholder));
  EXPECT_EQ(
      "Activities:1\n1 dGroup\n"
      "1 1 1.5000000000e+00 2 3.0000000000e-01\n"
      "1 1 1.5000000000e+00 3 7.0000000000e-01\n",
      dir.read("m.firings"));
  EXPECT_EQ("state q\n1 0\n2 1\n3 2\n", dir.read("m.states"));
}

TEST_F(RequestedFilesRunTest, AChainWithoutDeterministicActivitiesWritesNoFirings) {
  TestPVModel model("net", {{"q", 0}},
                    {exponential("up", 1.0).when(markingIs(0, 0)).fires(setMarking(0, -3))});
  runAsking(model);
  EXPECT_FALSE(dir.exists("m.firings"));
  EXPECT_EQ("state q\n1 0\n2 -3\n", dir.read("m.states"));
}

}  // namespace
