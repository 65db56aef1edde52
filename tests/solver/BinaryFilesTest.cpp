// The binary and compressed forms read as their text forms do, and their
// refusals name the byte where the problem is.
#include <gtest/gtest.h>
#include <zstd.h>

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "solver/DelayFile.h"
#include "solver/RewardFile.h"
#include "solver/StateSpaceFile.h"
#include "tests/solver/Problems.h"

namespace {

using solver_test::problemOf;

// Little-endian bytes of a number of the given width.
std::string le(std::uint64_t value, int width) {
  std::string bytes;
  for (int i = 0; i < width; i++) {
    bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
  return bytes;
}

std::string le(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return le(bits, 8);
}

std::string compressed(const std::string& bytes) {
  std::string out(ZSTD_compressBound(bytes.size()), '\0');
  out.resize(ZSTD_compress(out.data(), out.size(), bytes.data(), bytes.size(), 3));
  return out;
}

// The binary head: magic, version, flags, width, count.
std::string head(std::uint64_t count, int width = 4, std::uint32_t version = 1) {
  return std::string("\x7FSANARM\0", 8) + le(version, 4) + le(0, 4) + le(width, 4) + le(count, 8);
}

// The states of the text form's test: 1 -> 2 (1.5), 3 (2); 2 -> 1 (4); 3 none.
std::string records(int width) {
  return le(1, width) + le(2, 4) + le(2, width) + le(1.5) + le(3, width) + le(2.0) +
         le(2, width) + le(1, 4) + le(1, width) + le(4.0) + le(3, width) + le(0, 4);
}

const char kText[] =
    "1\n3\n      \n1\n2\n1.5000000000e+00\n3\n2.0000000000e+00\n0\n2\n1\n4.0000000000e+00\n0\n3\n0\n";

solver::Parsed<solver::StateSpace> readSpace(const std::string& bytes,
                                             const std::vector<std::uint32_t>& deterministic = {}) {
  std::istringstream in(bytes);
  return solver::readStateSpace(in, "m.arm", deterministic);
}

TEST(BinaryFilesTest, EveryFormOfAStateSpaceReadsAlike) {
  for (const std::string& bytes : {std::string(kText), compressed(kText), head(3) + records(4),
                                   head(3, 8) + records(8), compressed(head(3) + records(4))}) {
    const solver::Parsed<solver::StateSpace> space = readSpace(bytes);
    ASSERT_EQ("ok", problemOf(space));
    EXPECT_EQ((std::vector<std::uint64_t>{0, 2, 3, 3}), space.value().rowStart);
    EXPECT_EQ((std::vector<std::uint32_t>{2, 3, 1}), space.value().target);
    EXPECT_EQ((std::vector<double>{1.5, 2, 4}), space.value().value);
    std::istringstream in(bytes);
    EXPECT_EQ(3u, solver::readStateCount(in, "m.arm").value());
  }
}

TEST(BinaryFilesTest, MalformedStateSpacesAreRefusedAtTheirByte) {
  const std::string one = le(1, 4) + le(1, 4) + le(1, 4);  // state 1 and its target 1
  const std::pair<std::string, std::string> cases[] = {
      {head(1, 4, 2), "m.arm: at byte 8: binary state space version 2 is not supported: only 1 is"},
      {head(1, 3), "m.arm: at byte 16: a state number takes 4 or 8 bytes, not 3"},
      {head(0), "m.arm: at byte 20: a state space has at least one state"},
      {head(2) + le(2, 4), "m.arm: at byte 28: the record of state 1 expected, not that of state 2"},
      {head(1) + le(1, 4) + le(1, 4) + le(2, 4) + le(1.0),
       "m.arm: at byte 36: target 2 is not one of the 1 states"},
      {head(2) + le(1, 4) + le(2, 4) + le(2, 4) + le(1.0) + le(2, 4),
       "m.arm: at byte 48: target 2 does not follow target 2: targets must ascend"},
      {head(1) + one + le(-1.0),
       "m.arm: at byte 40: negative value (a deterministic firing) in state 1, in which no "
       "deterministic delay is enabled"},
      {head(1) + one + le(0.0 / 0.0),
       "m.arm: at byte 40: the value of the transition to state 1 is not a finite number"},
      {head(1) + one + le(1.0) + "x", "m.arm: at byte 48: unexpected bytes after the record of "
                                       "the last state"},
      {head(1) + one, "m.arm: at byte 40: the file ends where the value of the transition to "
                      "state 1 should follow: it is truncated"},
      {compressed(kText).substr(0, 40),
       "m.arm:1: the compressed data ends early: the file is truncated"},
      {compressed(kText).substr(0, 4) + std::string(30, '\xFF'),
       "m.arm:1: the compressed data is damaged (Unsupported frame parameter)"},
  };
  for (const auto& [bytes, problem] : cases) {
    EXPECT_EQ(problem, problemOf(readSpace(bytes))) << problem;
  }
  EXPECT_EQ("ok", problemOf(readSpace(head(1) + one + le(-1.0), {1})));
}

TEST(BinaryFilesTest, BinaryRewardsAndDelaysReadAsTheirTextForms) {
  const std::string names = "up\nlost\n";
  const std::string rewards = names + le(1, 4) + le(0.0) + le(1.0) + le(0.0) + le(0.0) + le(2, 4) +
                              le(0.0) + le(0.5) + le(2.5) + le(1e-07);
  for (const std::string& bytes : {rewards, compressed(rewards)}) {
    std::istringstream in(bytes);
    const auto read = solver::readStateRewards(in, "m.var", {"up", "lost"}, 2);
    ASSERT_EQ("ok", problemOf(read));
    EXPECT_EQ((std::vector<double>{1, 0, 0.5, 1e-07}), read.value().rate);
    EXPECT_EQ((std::vector<bool>{false, true}), read.value().hasImpulses);
  }
  std::istringstream shortRewards(rewards);
  EXPECT_EQ("m.var: at byte 80: the file ends where the record of state 3 (the state space has "
            "3) should follow: it is truncated",
            problemOf(solver::readStateRewards(shortRewards, "m.var", {"up", "lost"}, 3)));

  // State 65536's bytes start with two zero bytes: only a 4-byte 0 ends a list.
  const std::string delays = le(2, 4) + le(2.5) + le(65536, 4) + le(3, 4) + le(0, 4) + le(0.5) +
                             le(0, 4);
  std::istringstream in(delays);
  const auto read = solver::readDelays(in, "m.det", 65536);
  ASSERT_EQ("ok", problemOf(read));
  ASSERT_EQ(2u, read.value().size());
  EXPECT_EQ((std::vector<std::uint32_t>{65536, 3}), read.value()[0].states);
  EXPECT_TRUE(read.value()[1].states.empty());
  std::istringstream beyond(delays);
  EXPECT_EQ("m.det: at byte 12: state 65536 is beyond the 8 states",
            problemOf(solver::readDelays(beyond, "m.det", 8)));
}

}  // namespace
