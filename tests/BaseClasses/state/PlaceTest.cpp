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

}  // namespace
