#include <gtest/gtest.h>

#include <string>

#include "Cpp/BaseClasses/PVModel.h"
#include "bench/memory_array/memory_arrayRJ.h"
#include "bench/memory_array/memory_array_studyRangeStudy.h"

namespace {

TEST(MemoryArrayStudyTest, ExperimentEHasEPlusOneRams) {
  memory_array_studyRangeStudy study;
  ASSERT_EQ(3, study.GetNumGVs());
  EXPECT_EQ(12, study.GetNumExps());
  EXPECT_STREQ("num_rams", study.GetGVName(0));
  EXPECT_STREQ("int", study.GetGVType(0));
  EXPECT_STREQ("float", study.GetGVType(2));
  for (int e = 0; e < 12; e++) {
    study.SetGVs(e);
    EXPECT_EQ(e + 1, num_rams);
    EXPECT_EQ(256.0f, flash_size);
    EXPECT_EQ(256.0f, ram_size);
  }
  testing::internal::CaptureStdout();
  study.PrintGlobalValues(11);
  EXPECT_EQ(
      "The Global Variable values for experiment Experiment 12 are:\n"
      "num_rams\tint\t12\nflash_size\tfloat\t256\nram_size\tfloat\t256\n",
      testing::internal::GetCapturedStdout());
}

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

TEST(MemoryArrayStudyTest, TheStudyBuildsTheArrayOfItsExperiment) {
  BaseStudyClass* study = GenerateStudy();
  EXPECT_EQ(study, GenerateStudy());
  study->SetGVs(4);
  PVModel* model = study->GetPVModel(false);
  EXPECT_EQ(5, static_cast<memory_arrayRJ*>(model->ChildModel)->NumRams);
  EXPECT_EQ(4 + 4 * 5, model->StateSize());
  DestructStudy();
  EXPECT_EQ(nullptr, GlobalStudyPtr);
}

}  // namespace
