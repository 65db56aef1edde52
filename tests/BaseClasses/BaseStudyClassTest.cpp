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

  void* GetGVValue(const char* name) override {
    for (const Variable& variable : variables) {
      if (std::strcmp(variable.name, name) == 0) {
        return variable.address;
      }
    }
    return nullptr;
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

// What applying overrides prints on standard output and standard error, and
// whether they all applied.
struct OverrideResult {
  bool applied;
  std::string out;
  std::string err;
};

OverrideResult overrideResult(BaseStudyClass& study, const char* overrides) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const bool applied = study.overrideGVs(overrides);
  std::string err = testing::internal::GetCapturedStderr();
  return {applied, testing::internal::GetCapturedStdout(), err};
}

// The message of overrides that must stop the run; "" when they applied.
std::string refusal(BaseStudyClass& study, const char* overrides) {
  const OverrideResult result = overrideResult(study, overrides);
  EXPECT_EQ("", result.out) << overrides;
  EXPECT_EQ(result.applied, result.err.empty()) << overrides;
  return result.err;
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
  EXPECT_EQ("", refusal(study,
                        "b:flag:3:c:initial:xyz:d:rate:2.5:f:size:0.25:i:count:0x10:"
                        "l:big:-9000000000:s:small:-017"));
  EXPECT_TRUE(study.flag);
  EXPECT_EQ('x', study.initial);
  EXPECT_EQ(2.5, study.rate);
  EXPECT_EQ(0.25f, study.size);
  EXPECT_EQ(16, study.count);
  EXPECT_EQ(-9000000000L, study.big);
  EXPECT_EQ(-15, study.small);
  refusal(study, "b:flag:0:i:count:010:d:small:12");
  EXPECT_FALSE(study.flag);
  EXPECT_EQ(8, study.count);
  EXPECT_EQ(12, study.small);  // converted: it is a whole number
}

// An override that cannot be applied stops at once with one line naming the
// triple; the run must not go on with a default it was not asked for.
TEST(BaseStudyClassTest, OverridesThatCannotBeAppliedAreRefused) {
  const struct {
    const char* overrides;
    const char* err;
  } refused[] = {
      {"f:siz:20", "Error: -O f:siz:20: the model has no global variable siz\n"},
      {"f:Size:1", "Error: -O f:Size:1: the model has no global variable Size\n"},
      {"x:count:100", "Error: -O x:count:100: 'x' is not a type letter (b, c, d, f, i, l or s)\n"},
      {"i:count:3:f:size:",
       "Error: -O i:count:3:f:size:: the string ends inside a triple (each is type:name:value)\n"},
      {"f:size:abc", "Error: -O f:size:abc: the value abc of size does not parse as type f\n"},
      {"i:count:12abc",
       "Error: -O i:count:12abc: the value 12abc of count does not parse as type i\n"},
      {"s:small:70000",
       "Error: -O s:small:70000: the value 70000 of small does not parse as type s\n"},
      {"s:small:3.7", "Error: -O s:small:3.7: the value 3.7 of small does not parse as type s\n"},
      {"f:size:1e40", "Error: -O f:size:1e40: the value 1e40 of size does not parse as type f\n"},
      {"d:count:1e20",
       "Error: -O d:count:1e20: the value 1e20 of count is not a value of its type int\n"},
      {"d:count:3.7",
       "Error: -O d:count:3.7: the value 3.7 of count is not a value of its type int\n"},
      {"d:size:1e300",
       "Error: -O d:size:1e300: the value 1e300 of size is not a value of its type float\n"},
      {"i:small:70000",
       "Error: -O i:small:70000: the value 70000 of small is not a value of its type short\n"},
      {"d:big:nan", "Error: -O d:big:nan: the value nan of big is not a value of its type long\n"},
      {"i:cells:1",
       "Error: -O i:cells:1: the value 1 of cells is not a value of its type int[3]\n"},
  };
  for (const auto& r : refused) {
    TypedStudy study;
    EXPECT_EQ(r.err, refusal(study, r.overrides)) << r.overrides;
    EXPECT_EQ(0.0f, study.size);
    EXPECT_EQ(0, study.small);
    EXPECT_EQ(0L, study.big);
    EXPECT_EQ(0, study.cells[0]);
    EXPECT_EQ("", study.unknownNames);
  }
  // The triples before the one refused are applied, those after it not.
  TypedStudy study;
  refusal(study, "i:count:4:f:siz:1:f:size:2");
  EXPECT_EQ(4, study.count);
  EXPECT_EQ(0.0f, study.size);
}

TEST(BaseStudyClassTest, MalformedStringsSkipWhatTheyCannotUse) {
  TypedStudy study;
  // Empty tokens vanish, as with strtok; letters beyond the first are ignored.
  EXPECT_EQ("", refusal(study, "::float::size::7::"));
  EXPECT_EQ(7.0f, study.size);
  EXPECT_EQ("", refusal(study, nullptr));
  EXPECT_EQ("", refusal(study, ":::"));
}

// Derives rate from count after overrides, unless an override set it.
class DerivingStudy : public TypedStudy {
 public:
  void DeriveGVs() override {
    if (!GVOverridden(2)) {
      rate = count * 0.5;
    }
  }
};

TEST(BaseStudyClassTest, DerivedValuesFollowTheOverridesAndShowInForce) {
  DerivingStudy study;
  EXPECT_EQ("", refusal(study, "i:count:3:c:initial:A:b:flag:1"));
  EXPECT_EQ(1.5, study.rate);
  testing::internal::CaptureStdout();
  study.printValuesInForce();
  EXPECT_EQ(
      "The Global Variable values in force are:\nflag\tbool\t1\ninitial\tchar\t65\n"
      "rate\tdouble\t1.5\nsize\tfloat\t0\ncount\tint\t3\nbig\tlong\t0\nsmall\tshort\t0\n"
      "cells\tint[3]\t?\n",
      testing::internal::GetCapturedStdout());
  EXPECT_EQ("", refusal(study, "d:rate:7:i:count:10"));
  EXPECT_EQ(7.0, study.rate);
  EmptyStudy empty;
  testing::internal::CaptureStdout();
  empty.printValuesInForce();
  EXPECT_EQ("", testing::internal::GetCapturedStdout());
}

TEST(ResultsDBTest, LongTextsAreTruncatedToTheirField) {
  std::string host(300, 'h');
  ResultsDB db(host.c_str(), 1, nullptr, nullptr, nullptr);
  EXPECT_EQ(std::string(99, 'h'), db.host);
}

}  // namespace
