// sanc itself: what it writes, what it refuses, and how errors in the C++ of
// a description reach the modeller at the description's own lines.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "tests/TestFiles.h"

namespace {

using test_files::ScratchDir;

// Writes text as the description m.san in dir.
void describe(const ScratchDir& dir, const std::string& text) {
  std::ofstream(dir.prefix() + "m.san") << text;
}

const char kModel[] =
    "global short rindex = 2\n"
    "atomic a {\n"
    "  place p\n"
    "  activity t rate 1  when p < capacity  out p\n"
    "}\n";

TEST(SancTest, ErrorsGoToStandardErrorAndNothingIsWritten) {
  ScratchDir dir("sanc");
  describe(dir, "atomic a {\n  place p\n  activity t rate 1 in q\n}\nstudy set { x = 1 }\n");
  test_files::ProgramRun run = dir.run(std::string(SANC_EXECUTABLE) + " m.san -o out");
  EXPECT_EQ(1, run.status);
  EXPECT_EQ(
      "m.san:3:24: error: atomic model 'a' has no place 'q'\n"
      "m.san:5:13: error: there is no global variable 'x'\n",
      run.err);
  EXPECT_FALSE(dir.exists("out"));
}

TEST(SancTest, ItWritesTheCodeAndAMakeRuleOverEveryFileRead) {
  ScratchDir dir("sanc");
  describe(dir, "import a from \"lib.san\"\n");
  std::ofstream(dir.prefix() + "lib.san") << "atomic a {\n  place p\n}\n";
  test_files::ProgramRun run = dir.run(std::string(SANC_EXECUTABLE) + " m.san -o out -d m.d");
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_NE(std::string::npos, dir.read("out/m.cpp").find("aSAN::aSAN()"));
  EXPECT_EQ("out/m.h out/m.cpp : " + dir.path + "/m.san " + dir.path + "/lib.san\n",
            dir.read("m.d"));
}

TEST(SancTest, ItRefusesBadArguments) {
  ScratchDir dir("sanc");
  EXPECT_EQ("usage: sanc <model.san> -o <directory> [-d <depfile>]\n",
            dir.run(std::string(SANC_EXECUTABLE) + " m.san").err);
  EXPECT_EQ("sanc: unexpected argument '-x'\n",
            dir.run(std::string(SANC_EXECUTABLE) + " -x m.san -o out").err);
  test_files::ProgramRun missing = dir.run(std::string(SANC_EXECUTABLE) + " none.san -o out");
  EXPECT_EQ(1, missing.status);
  EXPECT_EQ("sanc: cannot read none.san: no such file\n", missing.err);
  // A FIFO, as the description or as a file it imports from, would make
  // sanc wait for a writer for ever.
  ASSERT_EQ(0, mkfifo((dir.prefix() + "fifo.san").c_str(), 0600));
  test_files::ProgramRun fifo = dir.run(std::string(SANC_EXECUTABLE) + " fifo.san -o out");
  EXPECT_EQ(1, fifo.status);
  EXPECT_EQ("sanc: cannot read fifo.san: is a FIFO (named pipe), not a regular file\n", fifo.err);
  describe(dir, "import a from \"fifo.san\"\n");
  EXPECT_EQ("m.san:1:15: error: cannot read fifo.san\n",
            dir.run(std::string(SANC_EXECUTABLE) + " m.san -o out").err);
}

// The predicate names capacity, which is not declared, and the global
// variable clashes with a function of the C library: the C++ compiler
// reports both at the description's lines.
TEST(SancTest, TheCppCompilerReportsErrorsInEmbeddedCodeAtTheDescription) {
  ScratchDir dir("sanc");
  describe(dir, kModel);
  ASSERT_EQ(0, dir.run(std::string(SANC_EXECUTABLE) + " m.san -o out").status);
  EXPECT_TRUE(dir.exists("out/m.h"));
  test_files::ProgramRun compile =
      dir.run(std::string(CXX_COMPILER) + " -std=c++17 -fsyntax-only -I" PROJECT_SOURCE_DIR
                                          " -Iout out/m.cpp");
  EXPECT_NE(0, compile.status);
  EXPECT_NE(std::string::npos, compile.err.find("m.san:4:31: error: ")) << compile.err;
  EXPECT_NE(std::string::npos, compile.err.find("capacity")) << compile.err;
  EXPECT_NE(std::string::npos, compile.err.find("m.san:1:14: error: ")) << compile.err;
}

}  // namespace
