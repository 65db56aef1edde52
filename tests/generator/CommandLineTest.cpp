#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "generator/CommandLine.h"

namespace {

class CommandLineTest : public testing::Test {
 protected:
  int fileType = 1;
  char* traceFileName = nullptr;

  void TearDown() override {
    std::free(traceFileName);
    ReleaseSettings();
  }

  // Parses "gen" followed by arguments and returns what it printed.
  std::string parse(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "gen");
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
      argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    testing::internal::CaptureStdout();
    commandline(static_cast<int>(arguments.size()), argv.data(), fileType, traceFileName);
    return testing::internal::GetCapturedStdout();
  }
};

TEST_F(CommandLineTest, JoinedOptionsSetEverySetting) {
  EXPECT_EQ("path=[out/]\nTraceLevel=2\nOverrideString is f:ram_size:1\n",
            parse({"-Pout/", "-Nexp1", "-B3", "-F2", "-eentity", "-shost", "-l2", "-ttrace.txt",
                   "-Of:ram_size:1", "-a", "-h0.75"}));
  EXPECT_STREQ("out/", exp_path);
  EXPECT_STREQ("exp1", ExpName);
  EXPECT_EQ(3, ExpNum);
  EXPECT_EQ(2, fileType);
  EXPECT_STREQ("entity", db_entity);
  EXPECT_STREQ("host", db_host);
  EXPECT_EQ(2, TempTraceLevel);
  EXPECT_STREQ("trace.txt", traceFileName);
  EXPECT_STREQ("f:ram_size:1", OverrideString);
  EXPECT_EQ(1, flagAbsorb);
  EXPECT_EQ(0.75, hash_value);
}

// Each earlier copy is released; the leak check catches one that is not.
TEST_F(CommandLineTest, RepeatedOptionsKeepTheLastValue) {
  parse({"-Na", "-Nb", "-Pp", "-Pq", "-ss", "-st", "-ee", "-ef", "-Ox", "-Oy", "-tt", "-tu"});
  EXPECT_STREQ("b", ExpName);
  EXPECT_STREQ("q", exp_path);
  EXPECT_STREQ("t", db_host);
  EXPECT_STREQ("f", db_entity);
  EXPECT_STREQ("y", OverrideString);
  EXPECT_STREQ("u", traceFileName);
}

TEST_F(CommandLineTest, AMissingValueIsReportedAndParsingGoesOn) {
  EXPECT_EQ("path=[out/]\nERROR: missing value for argument: -N\n", parse({"-Pout/", "-N", "-B4"}));
  EXPECT_EQ(nullptr, ExpName);
  EXPECT_EQ(4, ExpNum);
  EXPECT_EQ("ERROR: missing value for argument: -O\n", parse({"-Nx", "-B1", "-O"}));
  EXPECT_EQ(nullptr, OverrideString);
}

TEST_F(CommandLineTest, AbsorbNeedsNoValueAndOtherWordsAreSkipped) {
  EXPECT_EQ("", parse({"stray", "-a", "word", "-Nexp1", "other", "-B2"}));
  EXPECT_EQ(1, flagAbsorb);
  EXPECT_EQ(2, ExpNum);
  EXPECT_EQ(
      "ERROR: unknown argument: word\nERROR: unknown argument: -xyz\n"
      "ERROR: unknown argument: -\nERROR: unknown argument: -nexp1\n",
      parse({"-x", "word", "-xyz", "-", "-nexp1", "-Nexp1"}));
  EXPECT_STREQ("exp1", ExpName);
}

TEST_F(CommandLineTest, NumbersMustBeWholeAndTheTraceLevelFrom0To4) {
  // Each refused value is named with its option; the earlier value stays.
  struct {
    std::vector<std::string> arguments;
    const char* refused;
  } cases[] = {
      {{"-Nexp1", "-B2", "-Babc"}, "-B needs a whole number, not \"abc\""},
      {{"-Nexp1", "-B2", "-B", "0x10"}, "-B needs a whole number, not \"0x10\""},
      {{"-Nexp1", "-B2", "-B99999999999"}, "-B needs a whole number, not \"99999999999\""},
      {{"-Nexp1", "-B2", "-h0.75", "-habc"}, "-h needs a number, not \"abc\""},
      {{"-Nexp1", "-B2", "-h0.75", "-h0.5x"}, "-h needs a number, not \"0.5x\""},
      {{"-Nexp1", "-B2", "-l1", "-l5"}, "-l needs a whole number from 0 to 4, not \"5\""},
      {{"-Nexp1", "-B2", "-l1", "-l-1"}, "-l needs a whole number from 0 to 4, not \"-1\""},
      {{"-Nexp1", "-B2", "-l1", "-l2.0"}, "-l needs a whole number from 0 to 4, not \"2.0\""},
      {{"-Nexp1", "-B2", "-z", "fast"},
       "-z needs a compression level from -131072 to 22, not \"fast\""},
      {{"-Nexp1", "-B2", "-z23"}, "-z needs a compression level from -131072 to 22, not \"23\""},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    parse(c.arguments);
    EXPECT_FALSE(SettingsValid()) << c.refused;
    EXPECT_EQ(std::string("Error: ") + c.refused + "\n", testing::internal::GetCapturedStderr());
    EXPECT_EQ(2, ExpNum);
    EXPECT_EQ(c.arguments[2] == "-h0.75" ? 0.75 : 0.5, hash_value);
    EXPECT_EQ(c.arguments[2] == "-l1" ? 1 : 0, TempTraceLevel);
    ReleaseSettings();
  }
  // The file type is read as atoi reads it.
  parse({"-Nexp1", "-B2", "-F9x", "-h1e-1", "-l4"});
  EXPECT_TRUE(SettingsValid());
  EXPECT_EQ(9, fileType);
  EXPECT_FALSE(compressionLevel.has_value());
  EXPECT_EQ(0.1, hash_value);
  EXPECT_EQ(4, TempTraceLevel);
}

TEST_F(CommandLineTest, CompressionTakesALevelOrTheDefault) {
  parse({"-Nexp1", "-z", "-B2"});
  EXPECT_EQ(1, compressionLevel);
  EXPECT_EQ(2, ExpNum);
  parse({"-Nexp1", "-z", "7", "-B2"});
  EXPECT_EQ(7, compressionLevel);
  parse({"-Nexp1", "-z-3", "-B2"});
  EXPECT_EQ(-3, compressionLevel);
  EXPECT_TRUE(SettingsValid());
}

TEST_F(CommandLineTest, FewerThanThreeArgumentsExitWithStatus0) {
  EXPECT_EXIT(parse({"-Pout/", "-Nexp1"}), testing::ExitedWithCode(0), "");
}

TEST_F(CommandLineTest, SettingsNeedANameAndALoadFactorBetween0And1) {
  parse({"-Pp", "-B3", "-F1"});
  testing::internal::CaptureStderr();
  EXPECT_FALSE(SettingsValid());
  testing::internal::GetCapturedStderr();

  for (const char* factor : {"-h0", "-h1", "-h1.5", "-h-0.5", "-hnan"}) {
    parse({"-Nexp1", "-B0", factor});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(SettingsValid()) << factor;
    EXPECT_NE(std::string::npos, testing::internal::GetCapturedStderr().find("-h"));
    hash_value = 0.5;
  }
  parse({"-Nexp1", "-B0", "-h0.999"});
  EXPECT_TRUE(SettingsValid());
}

TEST_F(CommandLineTest, ExperimentNumbersMustBeInTheStudy) {
  for (int number : {-1, 0, 24, 25}) {
    ExpNum = number;
    testing::internal::CaptureStderr();
    EXPECT_EQ(number == 0 || number == 24, ExperimentNumberValid(25)) << number;
    testing::internal::GetCapturedStderr();
  }
}

}  // namespace
