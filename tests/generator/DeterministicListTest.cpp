#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "generator/DeterministicList.h"

namespace {

std::vector<int> statesOf(const RateInfoType& entry) {
  return std::vector<int>(entry.States, entry.States + entry.NumStates);
}

// The text form as the generator writes it: scientific, 10 digits.
std::string textOf(const DeterministicList& list) {
  std::ostringstream out;
  out << std::scientific << std::setprecision(10);
  list.writeEnablingStates(out, TextFile);
  return out.str();
}

TEST(DeterministicListTest, GroupsStatesByDelayInOrderOfFirstAppearance) {
  DeterministicList list;
  list.insertEnablingState(5, 2.0);
  list.insertEnablingState(7, 3.0);
  list.insertEnablingState(5, 2.0);
  list.insertEnablingState(9, 2.0);
  ASSERT_EQ(2, list.RateInfoSize);
  EXPECT_EQ(2.0, list.RateInfoList[0].DelayValue);
  EXPECT_EQ((std::vector<int>{5, 5, 9}), statesOf(list.RateInfoList[0]));
  EXPECT_EQ(3.0, list.RateInfoList[1].DelayValue);
  EXPECT_EQ((std::vector<int>{7}), statesOf(list.RateInfoList[1]));
  EXPECT_EQ(
      "2\n2.0000000000e+00\n5\n5\n9\n0\n"
      "3.0000000000e+00\n7\n0\n",
      textOf(list));
}

TEST(DeterministicListTest, AThirdDelayGrowsTheListAndKeepsTheEntriesStates) {
  DeterministicList list;  // room for two delays
  for (int s = 1; s <= 12; s++) {
    list.insertEnablingState(s, 1.0);  // grown state list must move over intact
  }
  list.insertEnablingState(20, 2.0);
  list.insertEnablingState(30, 3.0);
  list.insertEnablingState(13, 1.0);
  ASSERT_EQ(3, list.RateInfoSize);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}),
            statesOf(list.RateInfoList[0]));
  EXPECT_EQ((std::vector<int>{20}), statesOf(list.RateInfoList[1]));
  EXPECT_EQ((std::vector<int>{30}), statesOf(list.RateInfoList[2]));
}

TEST(DeterministicListTest, ZeroCapacitiesStillGrowAndDelaysAreComparedExactly) {
  DeterministicList list(0);
  list.insertEnablingState(1, 0.1 + 0.2);
  list.insertEnablingState(2, 0.3);
  EXPECT_EQ(2, list.RateInfoSize);
  RateInfoType entry(0, 1.5);
  entry.insertState(4);
  EXPECT_EQ((std::vector<int>{4}), statesOf(entry));
}

TEST(DeterministicListTest, BinaryEntryIsDelayStatesAndAFourByteTerminator) {
  DeterministicList list;
  list.insertEnablingState(3, 2.5);
  list.insertEnablingState(0x01020304, 2.5);
  std::ostringstream empty;
  DeterministicList().writeEnablingStates(empty, BinaryFile);
  EXPECT_EQ(std::string(4, '\0'), empty.str());
  std::ostringstream out;
  list.writeEnablingStates(out, BinaryFile);
  const std::string bytes = out.str();
  // State 65536 (bytes 0 0 1 0) must not read as the end of the list.
  ASSERT_EQ(4u + 20u, bytes.size());
  EXPECT_EQ(std::string("\x01\0\0\0", 4), bytes.substr(0, 4));
  // 2.5 is 0x4004000000000000.
  EXPECT_EQ(std::string("\0\0\0\0\0\0\x04\x40", 8), bytes.substr(4, 8));
  EXPECT_EQ(std::string("\x03\0\0\0\x04\x03\x02\x01\0\0\0\0", 12), bytes.substr(12));
}

}  // namespace
