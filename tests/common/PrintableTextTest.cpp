#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "common/PrintableText.h"

namespace {

TEST(PrintableTextTest, WhatDoesNotPrintIsEscapedAndLettersStay) {
  EXPECT_EQ("plain text, 'quoted' \\ too", printable("plain text, 'quoted' \\ too"));
  EXPECT_EQ("caf\xC3\xA9 \xCE\xBB", printable("caf\xC3\xA9 \xCE\xBB"));
  EXPECT_EQ("a\\x00b\\x0cc\\t\\r\\n\\x7f", printable(std::string("a\0b\fc\t\r\n\x7F", 9)));
  // A byte-order mark, a direction override, a C1 control, half a letter
  // and a byte that starts no letter.
  EXPECT_EQ("\\xef\\xbb\\xbfx", printable("\xEF\xBB\xBFx"));
  EXPECT_EQ("\\xe2\\x80\\xaeevil", printable("\xE2\x80\xAE"
                                             "evil"));
  EXPECT_EQ("\\xc2\\x85", printable("\xC2\x85"));
  EXPECT_EQ("caf\\xc3", printable("caf\xC3"));
  EXPECT_EQ("\\xff\\xc0\\xaf", printable("\xFF\xC0\xAF"));
  // What it returns comes back unchanged.
  const std::string once = printable(std::string("\0\xC3(\xE2\x80\xAE", 5));
  EXPECT_EQ(once, printable(once));
}

TEST(PrintableTextTest, NumbersAreShortAndExact) {
  EXPECT_EQ("0.25", compactNumber(0.25));
  EXPECT_EQ("1e+300", compactNumber(1e300));
  EXPECT_EQ("1.7976931348623157e+308", compactNumber(std::numeric_limits<double>::max()));
  EXPECT_EQ("-3", compactNumber(-3.0));
  EXPECT_EQ("inf", compactNumber(std::numeric_limits<double>::infinity()));
  EXPECT_EQ("-inf", compactNumber(-std::numeric_limits<double>::infinity()));
  EXPECT_EQ("nan", compactNumber(std::numeric_limits<double>::quiet_NaN()));
}

}  // namespace
