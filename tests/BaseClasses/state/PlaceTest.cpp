#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "Cpp/BaseClasses/state/Place.h"

namespace {

TEST(PlaceTest, NewPlaceHoldsItsMarkingAlone) {
  Place x("x", 3);
  EXPECT_EQ(3, x.getMark());
  EXPECT_EQ(2, x.StateSize());
  EXPECT_FALSE(x.getShared());
  EXPECT_TRUE(x.getStored());
  // Value and Mark are the two holders of the storage.
  EXPECT_EQ(2, x.getSharingCount());
  EXPECT_EQ(x.Value, x.Mark);

  Place unnamed;
  EXPECT_STREQ("default", unnamed.Name);
  EXPECT_EQ(0, unnamed.getMark());
}

TEST(PlaceTest, WritesAndReadsTheShortInMachineByteOrder) {
  Place p("p", -2);
  short expected = -2;
  unsigned char buf[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  p.CurrentState(buf);
  EXPECT_EQ(0, std::memcmp(buf, &expected, 2));
  EXPECT_EQ(0xAA, buf[2]);  // nothing beyond the 2 bytes

  p.setMark(9);
  p.SetState(buf);
  EXPECT_EQ(-2, p.getMark());
}

TEST(PlaceTest, PrintsNameAndValue) {
  Place p("ram_working", 1);
  std::ostringstream os;
  p.printState(&os);
  p.printStateVal(&os);
  EXPECT_EQ("ram_working = 1\n1", os.str());
}

}  // namespace
