#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "Cpp/BaseClasses/TraceFileTavrelSSG.h"

namespace {

std::string readFile(const std::string& name) {
  std::ifstream in(name);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(TraceFileTest, WriterOnAFileNameTruncatesItAndOwnsTheStream) {
  // The process id keeps parallel runs of the suite apart.
  std::string name = ::testing::TempDir() + "trace_truncate_" + std::to_string(getpid()) + ".txt";
  {
    std::ofstream old(name);
    old << "an older and longer trace\n";
  }
  {
    TraceFileTavrelSSG writer(name.c_str());
    EXPECT_TRUE(writer.OwnsStream);
    writer.printStr(1, "fresh");  // a new writer is at level 1
    writer.printStr(2, "filtered");
  }  // the writer closes its file here; the sanitizer build checks the release
  EXPECT_EQ("fresh\n", readFile(name));
  std::remove(name.c_str());
}

TEST(TraceFileTest, UnopenableFileWarnsOnceAndTracesNothing) {
  testing::internal::CaptureStderr();
  TraceFileTavrelSSG writer("/nonexistent-directory/trace.txt");
  writer.printStr(0, "lost");
  writer.newBatch();
  EXPECT_EQ(
      "Warning: could not open trace file /nonexistent-directory/trace.txt; tracing to it is off\n",
      testing::internal::GetCapturedStderr());
  EXPECT_EQ(nullptr, writer.Stream);
}

}  // namespace
