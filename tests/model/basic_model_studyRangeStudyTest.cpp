#include <gtest/gtest.h>

#include <string>

#include "model/basic_model_studyRangeStudy.h"

namespace {

class RangeStudyTest : public testing::Test {
 protected:
  basic_model_studyRangeStudy study;

  std::string printed(int experiment) {
    testing::internal::CaptureStdout();
    study.PrintGlobalValues(experiment);
    return testing::internal::GetCapturedStdout();
  }

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

TEST_F(RangeStudyTest, DescribesItsTwoFloatVariables) {
  ASSERT_EQ(2, study.GetNumGVs());
  EXPECT_EQ(25, study.GetNumExps());
  EXPECT_STREQ("flash_size", study.GetGVName(0));
  EXPECT_STREQ("ram_size", study.GetGVName(1));
  EXPECT_STREQ("float", study.GetGVType(0));
  EXPECT_STREQ("float", study.GetGVType(1));
  EXPECT_STREQ("c:/Tavrel-2.4/", study.GetDefaultTavrelRoot());
  EXPECT_EQ(nullptr, study.ThePVModel);  // built on request
  EXPECT_STREQ("Experiment 25", study.GetExpName(24));
}

TEST_F(RangeStudyTest, EveryExperimentPrintsItsCombination) {
  const char* const levels[] = {"32", "64", "128", "256", "512"};
  for (int e = 0; e < 25; e++) {
    std::string expected = "The Global Variable values for experiment Experiment " +
                           std::to_string(e + 1) + " are:\nflash_size\tfloat\t" + levels[e % 5] +
                           "\nram_size\tfloat\t" + levels[e / 5] + "\n";
    EXPECT_EQ(expected, printed(e)) << "experiment " << e;
  }
}

TEST_F(RangeStudyTest, SetGVsWritesTheGlobals) {
  study.SetGVs(7);
  EXPECT_EQ(128.0f, flash_size);
  EXPECT_EQ(64.0f, ram_size);
  study.SetGVs(24);
  EXPECT_EQ(512.0f, flash_size);
  EXPECT_EQ(512.0f, ram_size);
}

TEST_F(RangeStudyTest, GlobalsAreFoundByExactName) {
  EXPECT_EQ(&flash_size, study.GetGVValue("flash_size"));
  EXPECT_EQ(&ram_size, study.GetGVValue("ram_size"));
  testing::internal::CaptureStderr();
  EXPECT_EQ(nullptr, study.GetGVValue("Flash_size"));
  EXPECT_EQ(
      "!! basic_model_studyRangeStudy::GetGVValue: Global Variable Flash_size does not exist.\n",
      testing::internal::GetCapturedStderr());
}

TEST_F(RangeStudyTest, OverridesSetOnlyTheirVariable) {
  EXPECT_EQ("", applied("f:ram_size:100"));
  EXPECT_EQ(100.0f, ram_size);
  EXPECT_EQ(32.0f, flash_size);
  EXPECT_EQ("", applied("f:flash_size:64:f:ram_size:128"));
  EXPECT_EQ(64.0f, flash_size);
  EXPECT_EQ(128.0f, ram_size);
  EXPECT_EQ("", applied("::float::ram_size::7::"));
  EXPECT_EQ(7.0f, ram_size);
}

TEST_F(RangeStudyTest, OverrideEdgeCases) {
  EXPECT_EQ("Type x not recognized\n", applied("x:ram_size:100:f:flash_size:16"));
  EXPECT_EQ(32.0f, ram_size);
  EXPECT_EQ(16.0f, flash_size);

  EXPECT_EQ("Not enough double override tokens", applied("f:ram_size"));
  EXPECT_EQ(32.0f, ram_size);

  EXPECT_EQ("Value abc of ram_size does not parse as type f; override skipped\n",
            applied("f:ram_size:abc:f:flash_size:8"));
  EXPECT_EQ(32.0f, ram_size);
  EXPECT_EQ(8.0f, flash_size);

  EXPECT_EQ(
      "!! basic_model_studyRangeStudy::OverrideGVValue: Global Variable Flash_size does not "
      "exist.\n",
      applied("f:Flash_size:1"));
  EXPECT_EQ(32.0f, flash_size);
}

TEST_F(RangeStudyTest, OtherLettersAreConvertedToFloat) {
  EXPECT_EQ("", applied("d:ram_size:5:i:flash_size:0x20"));
  EXPECT_EQ(5.0f, ram_size);
  EXPECT_EQ(32.0f, flash_size);
  EXPECT_EQ("Value 1e39 of ram_size does not fit its type float; override skipped\n",
            applied("d:ram_size:1e39"));
  EXPECT_EQ(32.0f, ram_size);
}

TEST(GenerateStudyTest, OneStudyUntilDestructed) {
  BaseStudyClass* first = GenerateStudy();
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(first, GenerateStudy());
  EXPECT_EQ(first, GlobalStudyPtr);
  EXPECT_EQ(25, first->GetNumExps());
  DestructStudy();
  EXPECT_EQ(nullptr, GlobalStudyPtr);
  DestructStudy();
  EXPECT_EQ(nullptr, GlobalStudyPtr);
  BaseStudyClass* second = GenerateStudy();
  EXPECT_EQ(second, GlobalStudyPtr);
  EXPECT_EQ(25, second->GetNumExps());
  DestructStudy();
}

}  // namespace
