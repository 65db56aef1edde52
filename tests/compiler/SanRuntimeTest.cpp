// The checks the generated code runs as a model is built.
#include <gtest/gtest.h>

#include "compiler/runtime/SanRuntime.h"

namespace {

using sanc_runtime::Expansion;

TEST(SanRuntimeTest, CopiesOfCopiesAreAddedUpToTheLimits) {
  Expansion total;
  sanc_runtime::addCopies(total, 65, {1000, 2}, "row", "cell", "n");
  EXPECT_EQ(65000, total.places);
  EXPECT_EQ(130, total.activities);
  EXPECT_EXIT(sanc_runtime::addCopies(total, 1, {537, 0}, "row", "cell", "n"),
              testing::ExitedWithCode(1),
              "^Error: join row with 1 copies of cell \\(n\\) would hold 65537 places; a model "
              "has at most 65536\n$");
  EXPECT_EXIT(sanc_runtime::addCopies(total, 10000, {0, 7}, "grid", "row", ""),
              testing::ExitedWithCode(1),
              "^Error: join grid with 10000 copies of row would hold 70130 activity instances");
}

TEST(SanRuntimeTest, AMultiplicityIsAWholeNumberFrom1To32767) {
  sanc_runtime::arcMultiplicity(1, "m", "a", "p");
  sanc_runtime::arcMultiplicity(32767.0, "m", "a", "p");
  EXPECT_EXIT(sanc_runtime::arcMultiplicity(0L, "m", "a", "p"), testing::ExitedWithCode(1),
              "the multiplicity 0;");
  EXPECT_EXIT(sanc_runtime::arcMultiplicity(2.5, "m", "a", "p"), testing::ExitedWithCode(1),
              "the multiplicity 2.5;");
  EXPECT_EXIT(sanc_runtime::arcMultiplicity(static_cast<char>(-1), "m", "a", "p"),
              testing::ExitedWithCode(1), "the multiplicity -1;");
  EXPECT_EXIT(sanc_runtime::arcMultiplicity(1e300, "m", "a", "p"), testing::ExitedWithCode(1),
              "the multiplicity 1e\\+300;");
}

}  // namespace
