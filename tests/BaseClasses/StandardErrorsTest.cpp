#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <string>

#include "Cpp/BaseClasses/StandardErrors.h"

namespace {

std::string stderrOf(const std::function<void()>& report) {
  testing::internal::CaptureStderr();
  report();
  return testing::internal::GetCapturedStderr();
}

TEST(StandardErrorsTest, ReportsThatReturnWriteTheirFixedLines) {
  EXPECT_EQ("Memory Error\n", stderrOf(MemoryError));
  EXPECT_EQ("BaseGroupClass: Parameter was an empty reference\n",
            stderrOf([] { ErrorEmptyParameter("BaseGroupClass"); }));
  EXPECT_EQ(" no Action found in model\n", stderrOf(SyncError::NoAction));
  EXPECT_EQ("This program has entered into an inconsistant state. Please report this bug.\n",
            stderrOf(InconsistantState));
  EXPECT_EQ("A user error has been detected\n", stderrOf(UserError));
  EXPECT_EQ("ArrayType is not valid\n", stderrOf(InvalidArrayType));
  EXPECT_EQ("ArrayType is invalid for unordered element\n", stderrOf(InvalidUnorderedType));
  EXPECT_EQ(
      "Array out of bounds error at Array out of bounds (BaseGroupClass::setMember()\n",
      stderrOf([] { ArrayOutOfBoundsError("Array out of bounds (BaseGroupClass::setMember()"); }));
}

TEST(StandardErrorsTest, NullTextsWriteNothing) {
  EXPECT_EQ("Array out of bounds error at \n", stderrOf([] { ArrayOutOfBoundsError(nullptr); }));
  EXPECT_EQ(": Parameter was an empty reference\n", stderrOf([] { ErrorEmptyParameter(nullptr); }));
  EXPECT_EQ("Array types for equivalence sharing do not match for state variables: \n  \n  \n",
            stderrOf([] { ArrayTypeMismatchError(nullptr, nullptr); }));
}

TEST(StandardErrorsTest, TypeMismatchesNameBothVariablesOnIndentedLines) {
  EXPECT_EQ(
      "Array types for equivalence sharing do not match for state variables: \n  ram->cells\n"
      "  flash->cells\n",
      stderrOf([] { ArrayTypeMismatchError("ram->cells", "flash->cells"); }));
  EXPECT_EQ("Struct types for equivalence sharing do not match for state variables: \n  a\n  b\n",
            stderrOf([] { StructTypeMismatchError("a", "b"); }));
}

TEST(StandardErrorsTest, WrongDistributionTypeIsOneLineOf81Characters) {
  std::string text = stderrOf(SyncError::WrongDistributionType);
  EXPECT_EQ("You can only synchronize actions from one type,either exponential or instantenous\n",
            text);
  EXPECT_EQ(82u, text.size());
}

TEST(StandardErrorsTest, MemoryAllocationErrorExitsWithStatus1) {
  EXPECT_EXIT(MemoryAllocationError(), testing::ExitedWithCode(1),
              "^Insufficient Memory to allocate dynamic data structures from heap memory\n"
              "Exiting program\\.\\.\\.\n$");
}

TEST(StandardErrorsTest, InvalidStructTypeAbortsAfterItsTwoLines) {
  EXPECT_EXIT(InvalidStructType(), testing::KilledBySignal(SIGABRT),
              "^ArrayType is invalid for struct element\npreparing to segfault\n");
}

}  // namespace
