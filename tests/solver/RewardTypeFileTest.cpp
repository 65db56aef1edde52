// The ".pvtype" reader.
#include <gtest/gtest.h>

#include <sstream>

#include "solver/RewardTypeFile.h"
#include "tests/solver/Problems.h"

namespace {

using solver_test::problemOf;

solver::Parsed<std::vector<solver::RewardVariable>> read(const std::string& text) {
  std::istringstream in(text);
  return solver::readRewardTypes(in, "m.pvtype");
}

TEST(RewardTypeFileTest, VariablesWithTheirTypesAndTimes) {
  const auto variables = read(
      "Version:1\nNumPV:2\nName:reliability\nType:0\nNumTimes:1\nStart:365\nStop:365\n"
      "Name:queue length\nType:-3\nNumTimes:2\nStart:0.5\nStop:1\nStart:0\nStop:0\n");
  ASSERT_EQ("ok", problemOf(variables));
  ASSERT_EQ(2u, variables.value().size());
  const solver::RewardVariable& second = variables.value()[1];
  EXPECT_EQ("queue length", second.name);
  EXPECT_EQ(-3, second.type);
  EXPECT_EQ(8u, second.line);
  ASSERT_EQ(2u, second.times.size());
  EXPECT_EQ(0.5, second.times[0].start);
  EXPECT_EQ(1.0, second.times[0].stop);
  EXPECT_EQ(0.0, second.times[1].start);  // the initial instant
}

TEST(RewardTypeFileTest, MalformedFilesAreRefusedWithTheirLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"Version:2\n", "m.pvtype:1: only version 1 of the reward type file is known"},
      {"Version:1\nNumPV:1\nName:x\nKind:0\n", "m.pvtype:4: \"Type:\" expected, not \"Kind:0\""},
      {"Version:1\nNumPV:1\nName:x\nType:0\nNumTimes:1\nStart:-1\n", "m.pvtype:6: negative time"},
      {"Version:1\nNumPV:2\nName:x\nType:0\nNumTimes:0\n",
       "m.pvtype:6: the file ends where a variable's \"Name:\" should follow: it is truncated"},
      {"Version:1\nNumPV:0\nName:x\n", "m.pvtype:3: unexpected line after the last variable"},
  };
  for (const auto& [text, problem] : cases) {
    EXPECT_EQ(problem, problemOf(read(text)));
  }
}

}  // namespace
