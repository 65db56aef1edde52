// The runner's parts between the programs and the files: the values in
// force as the model prints them, solve's table and gen's state count read
// back, the table printed in order as outcomes arrive, and the stamps that
// decide reuse.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "study/GlobalValue.h"
#include "study/ResultsTable.h"
#include "study/RunResults.h"
#include "study/Stamp.h"
#include "tests/TestFiles.h"

namespace {

using sanc::ValueType;
using study::GlobalValue;

GlobalValue valueOf(ValueType type, const std::string& text) {
  std::string problem;
  const std::optional<GlobalValue> value = study::parseGlobalValue({"v", type}, text, problem);
  EXPECT_TRUE(value) << text << ": " << problem;
  return value.value_or(GlobalValue{});
}

// Shown as the generated study prints it (a float widened to double, a char
// as its number); set by a triple the model reads back exactly.
TEST(GlobalValueTest, ValuesAreShownAsTheModelPrintsThemAndSetExactly) {
  EXPECT_EQ("32", valueOf(ValueType::Float, "32").shown);
  EXPECT_EQ("f:v:0.1", valueOf(ValueType::Float, "0.1").setting);
  EXPECT_EQ("0.1", valueOf(ValueType::Float, "0.1").shown);
  EXPECT_EQ("d:v:0.30000000000000004", valueOf(ValueType::Double, "0.30000000000000004").setting);
  EXPECT_EQ("1e-07", valueOf(ValueType::Double, "1e-7").shown);
  EXPECT_EQ("i:v:65", valueOf(ValueType::Char, "65").setting);
  EXPECT_EQ("b:v:1", valueOf(ValueType::Bool, "true").setting);
  EXPECT_EQ("l:v:-9000000000", valueOf(ValueType::Long, "-9000000000").setting);
  const std::optional<GlobalValue> literal = study::valueOfLiteral({"v", ValueType::Float}, "32.0f");
  ASSERT_TRUE(literal);
  EXPECT_EQ("32", literal->shown);
  EXPECT_EQ("1", study::valueOfLiteral({"v", ValueType::Bool}, "true")->shown);
  EXPECT_EQ("5", study::valueOfLiteral({"v", ValueType::Long}, "5L")->shown);
}

TEST(RunResultsTest, SolvesTableAndTheStateCountAreReadBack) {
  const std::optional<std::vector<study::Measure>> table = study::readSolveTable(
      "out/exp1: 8 states, 1 reward variable\nnote with four words\n\n"
      "variable          time             value    error\n"
      "reliability        365  8.3515759809e-04  4.7e-15\n"
      "reliability        inf  1.0000000000e+00  1.0e-11\n");
  ASSERT_TRUE(table);
  ASSERT_EQ(2u, table->size());
  EXPECT_EQ("inf", (*table)[1].time);
  EXPECT_EQ("8.3515759809e-04", (*table)[0].value);
  EXPECT_EQ("4.7e-15", (*table)[0].error);
  EXPECT_FALSE(study::readSolveTable("solve: out/exp1.arm:3: a truncated record\n"));
  EXPECT_EQ("1234", study::readStateCount("_$1000$\n_$1234$\nGenerated: 1234 states\nTime\n"));
  EXPECT_FALSE(study::readStateCount("_$1000$\nError: out of memory\n"));
  EXPECT_EQ("Error: it broke", study::lastLine("a\nError: it broke\n  \n"));
}

study::Outcome solved(const std::string& states, const std::string& value) {
  study::Outcome outcome;
  outcome.succeeded = true;
  outcome.states = states;
  outcome.measures = {{"up", "10", value, "1.0e-11"}};
  return outcome;
}

// Rows print in experiment order once the columns are known, whatever order
// the experiments end in; a wider cell widens its column from then on.
TEST(ResultsTableTest, RowsPrintInOrderAsTheyArrive) {
  study::StudyPlan plan;
  plan.globals = {{"rate", ValueType::Double}};
  for (int e = 1; e <= 3; e++) {
    plan.experiments.push_back({e, {e == 3 ? "a,\"b\"" : "0.5"}, {}});
  }
  study::ResultsTable table(plan);
  std::ostringstream out;
  study::Outcome failed;
  failed.message = "broken";
  table.record(1, failed);
  table.printReady(out, false);
  EXPECT_EQ("", out.str());
  table.record(0, solved("8", "1.0000000000e+00"));
  table.printReady(out, false);
  table.record(2, solved("12345678", "-2.0000000000e-01"));
  table.printReady(out, true);
  EXPECT_EQ(
      "experiment   rate  states             up@10  up@10 error\n"
      "         1    0.5       8  1.0000000000e+00      1.0e-11\n"
      "         2    0.5  failed\n"
      "         3  a,\"b\"  12345678  -2.0000000000e-01      1.0e-11\n",
      out.str());
  std::ostringstream csv;
  table.writeCsv(csv);
  EXPECT_EQ(
      "experiment,rate,states,up@10,up@10 error\n1,0.5,8,1.0000000000e+00,1.0e-11\n2,0.5,,,\n"
      "3,\"a,\"\"b\"\"\",12345678,-2.0000000000e-01,1.0e-11\n",
      csv.str());
}

TEST(StampTest, AStampMatchesOnlyTheSameInputsAndUntouchedFiles) {
  test_files::ScratchDir dir;
  const std::string prefix = dir.prefix() + "exp1.";
  std::ofstream(prefix + "arm") << "1\n";
  std::ofstream(prefix + "log") << "Generated: 1 states\n";
  std::ofstream(dir.prefix() + "exp10.arm") << "not this experiment's\n";
  ASSERT_TRUE(study::Stamp::ofFiles(prefix, "generator 1\n  -B0\n").write(prefix + "stamp"));
  std::optional<study::Stamp> stamp = study::Stamp::read(prefix + "stamp");
  ASSERT_TRUE(stamp);
  EXPECT_TRUE(stamp->matches("generator 1\n  -B0\n"));
  EXPECT_FALSE(stamp->matches("generator 2\n  -B0\n"));
  std::ofstream(dir.prefix() + "exp10.arm", std::ios::app) << "more\n";
  EXPECT_TRUE(stamp->matches("generator 1\n  -B0\n"));
  std::filesystem::remove(prefix + "log");
  EXPECT_FALSE(stamp->matches("generator 1\n  -B0\n"));
  std::ofstream(prefix + "stamp", std::ios::app) << "garbage";
  EXPECT_FALSE(study::Stamp::read(prefix + "stamp"));
  EXPECT_NE(study::fileDigest(prefix + "arm"), study::fileDigest(dir.prefix() + "exp10.arm"));
  EXPECT_FALSE(study::fileDigest(prefix + "none"));
}

}  // namespace
