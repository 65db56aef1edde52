// The ".firings" and ".states" readers.
#include <gtest/gtest.h>

#include <sstream>

#include "solver/FiringFile.h"
#include "solver/MarkingFile.h"
#include "tests/solver/Problems.h"

namespace {

using solver_test::problemOf;

solver::Parsed<solver::FiringTable> readFirings(const std::string& text) {
  std::istringstream in(text);
  return solver::readFirings(in, "m.firings", 8);
}

const char kActivities[] = "Activities:2\n1 power_cycle\n2 watchdog reboot\n";

TEST(FiringFileTest, ActivitiesAndOutcomes) {
  const auto table = readFirings(std::string(kActivities) +
                                 "5 1 1.0000000000e+19 3 1.0000000000e+00\n"
                                 "5 2 3.4700000000e-03 2 1.0000000000e+00\n");
  ASSERT_EQ("ok", problemOf(table));
  EXPECT_EQ((std::vector<std::string>{"power_cycle", "watchdog reboot"}), table.value().activities);
  ASSERT_EQ(2u, table.value().outcomes.size());
  const solver::FiringOutcome& second = table.value().outcomes[1];
  EXPECT_EQ(5u, second.state);
  EXPECT_EQ(2u, second.activity);
  EXPECT_EQ(3.47e-03, second.delay);
  EXPECT_EQ(2u, second.target);
  EXPECT_EQ(1.0, second.probability);
  EXPECT_EQ(5u, second.line);
}

TEST(FiringFileTest, MalformedFilesAreRefusedWithTheirLine) {
  const std::string head = kActivities;
  const std::pair<std::string, std::string> cases[] = {
      {"Activities:1\n2 x\n", "m.firings:2: activity 1 and its name expected"},
      {head + "5 3 1 2 1\n", "m.firings:4: activity 3 is not between 1 and 2"},
      {head + "9 1 1 2 1\n", "m.firings:4: state 9 is not between 1 and 8"},
      {head + "5 1 1 2 1.5\n", "m.firings:4: a probability must lie in (0, 1]"},
      {head + "5 1 1 2\n", "m.firings:4: \"state activity delay target probability\" expected"},
      {head + "5 1 1 2 1\n4 1 1 2 1\n",
       "m.firings:5: outcomes must ascend by state, activity, delay and target"},
  };
  for (const auto& [text, problem] : cases) {
    EXPECT_EQ(problem, problemOf(readFirings(text)));
  }
}

solver::Parsed<solver::MarkingTable> readMarkings(const std::string& text) {
  std::istringstream in(text);
  return solver::readMarkings(in, "m.states", 2);
}

TEST(FiringFileTest, MarkingsNameTheStates) {
  const auto table = readMarkings("state a.p q\n1 1 0\n2 -3 32767\n");
  ASSERT_EQ("ok", problemOf(table));
  EXPECT_EQ("a.p=-3 q=32767", table.value().describe(2));
  EXPECT_EQ("m.states:3: a marking must lie between -32768 and 32767",
            problemOf(readMarkings("state p\n1 0\n2 40000\n")));
  EXPECT_EQ("m.states:2: state 1 and 1 markings expected",
            problemOf(readMarkings("state p\n1 0 0\n2 0\n")));
}

}  // namespace
