#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <string>

#include "Cpp/BaseClasses/BaseStudyClass.h"
#include "Cpp/BaseClasses/ResultsDB.h"

namespace {

// A study with one variable of every type an override can set, plus one of
// a type it cannot. OverrideGVValue copies as many bytes as the variable has,
// so a value handed over in the wrong type would show as garbage.
class TypedStudy : public BaseStudyClass {
 public:
  bool flag = false;
  char initial = '?';
  double rate = 0;
  float size = 0;
  int count = 0;
  long big = 0;
  short small = 0;
  int cells[3] = {0, 0, 0};
  std::string unknownNames;

  TypedStudy() {
    NumExps = 3;
    declareGVs(8);
    for (int i = 0; i < NumGVs; i++) {
      declareGV(i, variables[i].name, variables[i].type);
    }
  }

  void SetGVs(int expNum) override { count = expNum; }

  // Prints one variable after the common heading, as a generated study does.
  void PrintGlobalValues(int expNum) override {
    if (printValuesHeading(expNum)) {
      std::cout << "count\tint\t" << count << std::endl;
    }
  }

  void OverrideGVValue(const char* name, const void* value) override {
    for (const Variable& variable : variables) {
      if (std::strcmp(variable.name, name) == 0) {
        std::memcpy(variable.address, value, variable.size);
        return;
      }
    }
    unknownNames += std::string(name) + ";";
  }

 private:
  struct Variable {
    const char* name;
    const char* type;
    void* address;
    size_t size;
  };
  const Variable variables[8] = {
      {"flag", "bool", &flag, sizeof flag},     {"initial", "char", &initial, sizeof initial},
      {"rate", "double", &rate, sizeof rate},   {"size", "float", &size, sizeof size},
      {"count", "int", &count, sizeof count},   {"big", "long", &big, sizeof big},
      {"small", "short", &small, sizeof small}, {"cells", "int[3]", cells, sizeof cells}};
};

std::string overrideOutput(BaseStudyClass& study, const char* overrides) {
  testing::internal::CaptureStdout();
  study.overrideGVs(overrides);
  return testing::internal::GetCapturedStdout();
}

// A study without global variables, printing them as a generated study does.
class EmptyStudy : public BaseStudyClass {
 public:
  void PrintGlobalValues(int expNum) override {
    if (printValuesHeading(expNum)) {
      std::cout << "unexpected" << std::endl;
    }
  }
};

TEST(BaseStudyClassTest, ValuesAreHeadedByTheirExperimentUnlessThereAreNone) {
  TypedStudy study;
  testing::internal::CaptureStdout();
  study.PrintGlobalValues(2);
  EXPECT_EQ("The Global Variable values for experiment Experiment 3 are:\ncount\tint\t2\n",
            testing::internal::GetCapturedStdout());
  // Without variables the experiment is not even set (SetGVs would print).
  EmptyStudy empty;
  testing::internal::CaptureStdout();
  empty.PrintGlobalValues(0);
  EXPECT_EQ("There are no global variables.\n", testing::internal::GetCapturedStdout());
}

TEST(BaseStudyClassTest, EachLetterParsesItsOwnType) {
  TypedStudy study;
  EXPECT_EQ("", overrideOutput(study,
                               "b:flag:3:c:initial:xyz:d:rate:2.5:f:size:0.25:i:count:0x10:"
                               "l:big:-9000000000:s:small:-017"));
  EXPECT_TRUE(study.flag);
  EXPECT_EQ('x', study.initial);
  EXPECT_EQ(2.5, study.rate);
  EXPECT_EQ(0.25f, study.size);
  EXPECT_EQ(16, study.count);
  EXPECT_EQ(-9000000000L, study.big);
  EXPECT_EQ(-15, study.small);
  overrideOutput(study, "b:flag:0:i:count:010");
  EXPECT_FALSE(study.flag);
  EXPECT_EQ(8, study.count);
}

TEST(BaseStudyClassTest, ValuesThatDoNotFitTheDeclaredTypeAreSkipped) {
  TypedStudy study;
  EXPECT_EQ(
      "Value 1e20 of count does not fit its type int; override skipped\n"
      "Value 1e300 of size does not fit its type float; override skipped\n"
      "Value 70000 of small does not fit its type short; override skipped\n"
      "Value nan of big does not fit its type long; override skipped\n"
      "Value 1 of cells does not fit its type int[3]; override skipped\n",
      overrideOutput(study, "d:count:1e20:d:size:1e300:i:small:70000:d:big:nan:i:cells:1"));
  EXPECT_EQ(0, study.count);
  EXPECT_EQ(0.0f, study.size);
  EXPECT_EQ(0, study.small);
  EXPECT_EQ(0L, study.big);
  EXPECT_EQ(0, study.cells[0]);
}

TEST(BaseStudyClassTest, ValuesThatDoNotParseAreSkippedAndParsingGoesOn) {
  TypedStudy study;
  EXPECT_EQ(
      "Value abc of size does not parse as type f; override skipped\n"
      "Value 12abc of count does not parse as type i; override skipped\n"
      "Value 70000 of small does not parse as type s; override skipped\n"
      "Value 1e40 of size does not parse as type f; override skipped\n"
      "Value 99999999999 of count does not parse as type i; override skipped\n",
      overrideOutput(study,
                     "f:size:abc:i:count:12abc:s:small:70000:f:size:1e40:"
                     "i:count:99999999999:i:count:4"));
  EXPECT_EQ(0.0f, study.size);
  EXPECT_EQ(0, study.small);
  EXPECT_EQ(4, study.count);
}

TEST(BaseStudyClassTest, MalformedStringsSkipWhatTheyCannotUse) {
  TypedStudy study;
  // Empty tokens vanish, as with strtok; letters beyond the first are ignored.
  EXPECT_EQ("", overrideOutput(study, "::float::size::7::"));
  EXPECT_EQ(7.0f, study.size);
  EXPECT_EQ("", overrideOutput(study, nullptr));
  EXPECT_EQ("", overrideOutput(study, ":::"));

  EXPECT_EQ("Type x not recognized\n", overrideOutput(study, "x:count:100:f:size:16"));
  EXPECT_EQ(0, study.count);
  EXPECT_EQ(16.0f, study.size);

  // An incomplete triple stops parsing; earlier ones are kept.
  EXPECT_EQ("Not enough double override tokens", overrideOutput(study, "i:count:3:f:size:"));
  EXPECT_EQ(3, study.count);
  EXPECT_EQ(16.0f, study.size);

  // Names are the study's to match, unknown ones included.
  EXPECT_EQ("", overrideOutput(study, "f:Size:1:i:nothing:2"));
  EXPECT_EQ("Size;nothing;", study.unknownNames);
  EXPECT_EQ(16.0f, study.size);
}

TEST(ResultsDBTest, LongTextsAreTruncatedToTheirField) {
  std::string host(300, 'h');
  ResultsDB db(host.c_str(), 1, nullptr, nullptr, nullptr);
  EXPECT_EQ(std::string(99, 'h'), db.host);
}

}  // namespace
