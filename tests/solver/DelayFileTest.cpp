// The ".det" reader.
#include <gtest/gtest.h>

#include <sstream>

#include "solver/DelayFile.h"
#include "tests/solver/Problems.h"

namespace {

using solver_test::problemOf;

solver::Parsed<std::vector<solver::DelayEnabling>> read(const std::string& text) {
  std::istringstream in(text);
  return solver::readDelays(in, "m.det", 8);
}

TEST(DelayFileTest, DelaysWithTheStatesThatEnableThem) {
  const auto delays = read("2\n1.0000000000e+19\n2\n5\n0\n3.4700000000e-03\n3\n5\n5\n0\n");
  ASSERT_EQ("ok", problemOf(delays));
  ASSERT_EQ(2u, delays.value().size());
  EXPECT_EQ(3.47e-03, delays.value()[1].delay);
  EXPECT_EQ((std::vector<std::uint32_t>{3, 5, 5}), delays.value()[1].states);
  EXPECT_EQ(6u, delays.value()[1].line);
  EXPECT_EQ("ok", problemOf(read("0\n")));
}

TEST(DelayFileTest, MalformedFilesAreRefusedWithTheirLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"1\n2.5\n9\n0\n", "m.det:3: state 9 is beyond the 8 states"},
      {"1\n0\n0\n", "m.det:2: a deterministic delay must be positive"},
      {"2\n2.5\n1\n0\n2.5\n2\n0\n", "m.det:5: the delay is listed twice"},
      {"1\n2.5\n1\n",
       "m.det:4: the file ends where a state or the 0 ending the delay's list "
       "should follow: it is truncated"},
      {"1\n2.5\n0\n0\n", "m.det:4: unexpected line after the last delay's list"},
  };
  for (const auto& [text, problem] : cases) {
    EXPECT_EQ(problem, problemOf(read(text)));
  }
}

}  // namespace
