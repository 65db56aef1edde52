// The ".imp" reader: impulse rates by state and variable, the impulses of
// deterministic firings, and files that disagree with the run refused.
#include <gtest/gtest.h>

#include <sstream>

#include "solver/ImpulseFile.h"
#include "tests/solver/Problems.h"

namespace {

using solver_test::problemOf;

solver::Parsed<solver::ImpulseTable> read(const std::string& text, std::uint32_t numStates = 2) {
  std::istringstream in(text);
  return solver::readImpulses(in, "m.imp", {"repairs", "up"}, numStates);
}

const char kHeader[] = "Version:1\nNumPV:2\nrepairs\n1\nup\n0\n";

TEST(ImpulseFileTest, RatesByStateAndTheImpulsesOfDeterministicFirings) {
  const auto table = read(std::string(kHeader) +
                          "1\n0.5\n0\n0\n"
                          "2\n0\n0\n2\n1\n2.5e-01\n1\n0\n3\n1.0000000000e+00\n2\n0\n");
  ASSERT_EQ("ok", problemOf(table));
  EXPECT_EQ((std::vector<bool>{true, false}), table.value().defines);
  EXPECT_EQ((std::vector<double>{0.5, 0, 0, 0}), table.value().rate);
  ASSERT_EQ(2u, table.value().deterministic.size());
  const solver::ImpulseTable::Deterministic& second = table.value().deterministic[1];
  EXPECT_EQ(2u, second.state);
  EXPECT_EQ(3u, second.activity);
  EXPECT_EQ(1.0, second.delay);
  EXPECT_EQ(2.0, table.value().firingImpulse[second.first]);
}

TEST(ImpulseFileTest, FilesOfAnotherRunOrMalformedAreRefusedWithTheirLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"Version:2\n", "m.imp:1: only version 1 of the impulse file is known"},
      {"Version:1\nNumPV:1\n", "m.imp:2: the reward types name 2 variables"},
      {"Version:1\nNumPV:2\nrepairs\n2\n",
       "m.imp:4: 0 or 1 expected (whether repairs has impulses)"},
      {std::string(kHeader) + "1\n0\n1\n0\n",
       "m.imp:9: up has no impulses by the header, but earns one in state 1"},
      {std::string(kHeader) + "1\n0\n0\n1\n1\n0\n0\n0\n",
       "m.imp:12: a deterministic delay must be positive"},
      {std::string(kHeader) + "1\n0\n0\n2\n2\n1\n0\n0\n1\n1\n0\n0\n",
       "m.imp:15: activity numbers must ascend from 1"},
      {std::string(kHeader) + "1\n0\n0\n0\n",
       "m.imp:11: the file ends where the record of state 2 (the state space has 2) should follow: "
       "it is truncated"},
  };
  for (const auto& [text, problem] : cases) {
    EXPECT_EQ(problem, problemOf(read(text)));
  }
}

}  // namespace
