#include <gtest/gtest.h>

#include <string>

#include "memory_array.h"

namespace {

TEST(MemoryArrayStudyTest, OverridesReachEachVariableInItsOwnType) {
  memory_array_studyRangeStudy study;
  study.SetGVs(0);
  EXPECT_EQ(&num_rams, study.GetGVValue("num_rams"));
  testing::internal::CaptureStdout();
  study.overrideGVs("i:num_rams:5:f:ram_size:128:f:flash_size:0.5");
  EXPECT_EQ("", testing::internal::GetCapturedStdout());
  EXPECT_EQ(5, num_rams);
  EXPECT_EQ(128.0f, ram_size);
  EXPECT_EQ(0.5f, flash_size);
  testing::internal::CaptureStderr();
  study.OverrideGVValue("Num_rams", &num_rams);
  EXPECT_EQ(
      "!! memory_array_studyRangeStudy::OverrideGVValue: Global Variable Num_rams does not "
      "exist.\n",
      testing::internal::GetCapturedStderr());
}

}  // namespace
