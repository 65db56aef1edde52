#include <gtest/gtest.h>

#include <string>

#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "basic_model.h"

namespace {

class RangeStudyTest : public testing::Test {
 protected:
  basic_model_studyRangeStudy study;

  // Applies overrides after experiment 0 and returns what they print on
  // standard output and standard error.
  std::string applied(const char* overrides) {
    study.SetGVs(0);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    study.overrideGVs(overrides);
    std::string err = testing::internal::GetCapturedStderr();
    return testing::internal::GetCapturedStdout() + err;
  }
};

TEST_F(RangeStudyTest, EveryExperimentPrintsItsCombination) {
  ASSERT_EQ(25, study.GetNumExps());
  const char* const levels[] = {"32", "64", "128", "256", "512"};
  for (int e = 0; e < 25; e++) {
    std::string expected = "The Global Variable values for experiment Experiment " +
                           std::to_string(e + 1) + " are:\nflash_size\tfloat\t" + levels[e % 5] +
                           "\nram_size\tfloat\t" + levels[e / 5] + "\n";
    testing::internal::CaptureStdout();
    study.PrintGlobalValues(e);
    EXPECT_EQ(expected, testing::internal::GetCapturedStdout()) << "experiment " << e;
  }
}

TEST_F(RangeStudyTest, OverridesSetOnlyTheirVariableFoundByExactName) {
  EXPECT_EQ("", applied("f:flash_size:64"));
  EXPECT_EQ(64.0f, flash_size);
  EXPECT_EQ(32.0f, ram_size);
  EXPECT_EQ("Error: -O f:Flash_size:1: the model has no global variable Flash_size\n",
            applied("f:Flash_size:1"));
  EXPECT_EQ(32.0f, flash_size);
  testing::internal::CaptureStderr();
  EXPECT_EQ(nullptr, study.GetGVValue("Ram_size"));
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(&ram_size, study.GetGVValue("ram_size"));
}

TEST_F(RangeStudyTest, OtherLettersAreConvertedToFloat) {
  EXPECT_EQ("", applied("d:ram_size:5:i:flash_size:0x20"));
  EXPECT_EQ(5.0f, ram_size);
  EXPECT_EQ(32.0f, flash_size);
  EXPECT_EQ(
      "Error: -O d:ram_size:1e39: the value 1e39 of ram_size is not a value of its type "
      "float\n",
      applied("d:ram_size:1e39"));
  EXPECT_EQ(32.0f, ram_size);
}

TEST_F(RangeStudyTest, EveryRequestBuildsAFreshRewardModelAndReleasesTheLast) {
  study.SetGVs(0);
  study.GetPVModel(false);
  PVModel* second = study.GetPVModel(false);
  EXPECT_EQ(second, study.ThePVModel);
  EXPECT_EQ(0, second->PVList[0]->PVId);
}

TEST(GenerateStudyTest, OneStudyUntilDestructed) {
  BaseStudyClass* first = GenerateStudy();
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(first, GenerateStudy());
  DestructStudy();
  EXPECT_EQ(nullptr, GlobalStudyPtr);
  DestructStudy();
  EXPECT_EQ(25, GenerateStudy()->GetNumExps());
  DestructStudy();
}

}  // namespace
