// The ".arm" reader: both layouts of the header, and every refusal with its
// line.
#include <gtest/gtest.h>

#include <sstream>

#include "solver/StateSpaceFile.h"
#include "tests/solver/Problems.h"

namespace {

using solver_test::problemOf;

solver::Parsed<solver::StateSpace> read(const std::string& text,
                                        const std::vector<std::uint32_t>& deterministic = {}) {
  std::istringstream in(text);
  return solver::readStateSpace(in, "m.arm", deterministic);
}

const char kRecords[] =
    "1\n2\n1.5000000000e+00\n3\n2.0000000000e+00\n0\n"
    "2\n1\n4.0000000000e+00\n0\n"
    "3\n0\n";

TEST(StateSpaceFileTest, RecordsAfterEitherHeader) {
  // The padding line may be long: a line longer than the reader's first
  // buffer is read whole all the same.
  for (const std::string& header :
       {"1\n3\n" + std::string(61, ' ') + "\n", "1\n3\n" + std::string(300000, ' ') + "\n",
        std::string("1\n3\n")}) {
    const solver::Parsed<solver::StateSpace> space = read(header + kRecords);
    ASSERT_EQ("ok", problemOf(space));
    EXPECT_EQ(3u, space.value().numStates);
    EXPECT_EQ((std::vector<std::uint64_t>{0, 2, 3, 3}), space.value().rowStart);
    EXPECT_EQ((std::vector<std::uint32_t>{2, 3, 1}), space.value().target);
    EXPECT_EQ((std::vector<double>{1.5, 2, 4}), space.value().value);
  }
  EXPECT_EQ("ok", problemOf(read("\xEF\xBB\xBF"
                                 "1\n3\n" +
                                 std::string(kRecords))));
  std::istringstream header("1\n12345678\n");
  EXPECT_EQ(12345678u, solver::readStateCount(header, "m.arm").value());
}

TEST(StateSpaceFileTest, MalformedAndInconsistentRecordsAreRefusedWithTheirLine) {
  const std::pair<std::string, std::string> cases[] = {
      {"1\n2\n1\n3\n1.0e+00\n0\n2\n0\n", "m.arm:4: target 3 is beyond the 2 states"},
      {"1\n2\n1\n2\n1.0e+00\n0\n2\n",
       "m.arm:8: the file ends where a target of state 2 or its 0 "
       "should follow: it is truncated"},
      {"1\n2\n1\n2\n1.0", "m.arm:5: the last line has no line feed: the file is truncated"},
      {"1\n2\n2\n0\n1\n0\n", "m.arm:3: the record of state 1 expected, not that of state 2"},
      {"1\n2\n1\n2\n1\n2\n1\n0\n2\n0\n",
       "m.arm:6: target 2 does not follow target 2: targets must ascend"},
      {"1\n2\n1\n2\n-1.0e+00\n0\n2\n0\n",
       "m.arm:5: negative value (a deterministic firing) in state 1, in which no deterministic "
       "delay is enabled"},
      {"1\n2\n1\n2\nnan\n0\n2\n0\n", "m.arm:5: a rate expected (a finite number), not \"nan\""},
      {"1\n1\n1\n0\n2\n0\n", "m.arm:5: unexpected line after the record of the last state"},
      {"2\n1\n1\n0\n", "m.arm:1: output type \"2\" is not supported: only 1 (text) is"},
      {"1\n0\n", "m.arm:2: a state space has at least one state"},
      {"1\n4294967296\n", "m.arm:2: more states than the generator can number"},
      {"1\n2\n1\n" + std::string(1 << 21, '7') + "\n", "m.arm:4: line longer than 1048576 bytes"},
      // A run that did not finish, and a file whose line ends were converted.
      {"1\n" + std::string(61, ' ') + "\n1\n0\n",
       "m.arm:2: the number of states was never written: the run that wrote the file did not "
       "finish"},
      {"1\r\n1\r\n1\r\n0\r\n",
       "m.arm:1: the line ends with a carriage return (CR LF line ends); the generator writes LF "
       "only: convert the file back"},
      {"1\n1\n1\n\x0c"
       "0\n",
       "m.arm:4: a target state expected, not \"\\x0c0\""},
  };
  for (const auto& [text, problem] : cases) {
    EXPECT_EQ(problem, problemOf(read(text))) << text.substr(0, 60);
  }
  EXPECT_EQ("ok", problemOf(read("1\n2\n1\n2\n-1.0e+00\n0\n2\n0\n", {1})));
}

}  // namespace
