#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>

#include "Cpp/BaseClasses/StandardErrors.h"

namespace {

std::string stderrOf(const std::function<void()>& report) {
  testing::internal::CaptureStderr();
  report();
  return testing::internal::GetCapturedStderr();
}

TEST(StandardErrorsTest, ReportsWithTextsNameThemAndNullTextsWriteNothing) {
  EXPECT_EQ(
      "Array types for equivalence sharing do not match for state variables: \n  ram->cells\n"
      "  flash->cells\n",
      stderrOf([] { ArrayTypeMismatchError("ram->cells", "flash->cells"); }));
  EXPECT_EQ("Array out of bounds error at \n", stderrOf([] { ArrayOutOfBoundsError(nullptr); }));
  EXPECT_EQ(": Parameter was an empty reference\n", stderrOf([] { ErrorEmptyParameter(nullptr); }));
  EXPECT_EQ("Array types for equivalence sharing do not match for state variables: \n  \n  \n",
            stderrOf([] { ArrayTypeMismatchError(nullptr, nullptr); }));
  EXPECT_EQ("Struct types for equivalence sharing do not match for state variables: \n  a\n  \n",
            stderrOf([] { StructTypeMismatchError("a", nullptr); }));
}

TEST(StandardErrorsTest, MemoryAllocationErrorExitsAndInvalidStructTypeAborts) {
  EXPECT_EXIT(MemoryAllocationError(), testing::ExitedWithCode(1),
              "^Insufficient Memory to allocate dynamic data structures from heap memory\n"
              "Exiting program\\.\\.\\.\n$");
  EXPECT_EXIT(InvalidStructType(), testing::KilledBySignal(SIGABRT),
              "^ArrayType is invalid for struct element\npreparing to segfault\n");
}

}  // namespace
