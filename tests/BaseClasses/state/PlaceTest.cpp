#include <gtest/gtest.h>

#include <cstring>

#include "Cpp/BaseClasses/state/Place.h"

namespace {

TEST(PlaceTest, WritesAndReadsTheShortInMachineByteOrder) {
  Place p("p", -2);
  EXPECT_EQ(2, p.StateSize());
  short expected = -2;
  unsigned char buf[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  p.CurrentState(buf);
  EXPECT_EQ(0, std::memcmp(buf, &expected, 2));
  EXPECT_EQ(0xAA, buf[2]);  // nothing beyond the 2 bytes

  p.setMark(9);
  p.SetState(buf);
  EXPECT_EQ(-2, p.getMark());
}

TEST(PlaceTest, ArcTokensStayWithinTheShortRangeOrEndTheRun) {
  short mark = 32765;
  addArcTokens(mark, 2, "cell", "p", "t");
  EXPECT_EQ(32767, mark);
  addArcTokens(mark, -32767, "cell", "p", "t");
  EXPECT_EQ(0, mark);
  EXPECT_EXIT(addArcTokens(mark, -1, "cell", "p", "t"), testing::ExitedWithCode(1),
              "^Error: activity t of model cell takes the marking of place p to -1; a marking "
              "must lie between 0 and 32767\n$");
  mark = 32000;
  EXPECT_EXIT(addArcTokens(mark, 1000, "cell", "p", "t"), testing::ExitedWithCode(1),
              "to 33000;");
}

}  // namespace
