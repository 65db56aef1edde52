#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "Cpp/BaseClasses/TraceFileTavrelSSG.h"
#include "tests/TestFiles.h"

namespace {

TEST(TraceFileTest, WriterOnAFileNameTruncatesItAndOwnsTheStream) {
  test_files::TempFile name("trace_truncate.txt");
  {
    std::ofstream old(name.path);
    old << "an older and longer trace\n";
  }
  {
    TraceFileTavrelSSG writer(name.c_str());
    EXPECT_TRUE(writer.OwnsStream);
    writer.printStr(1, "fresh");  // a new writer is at level 1
    writer.printStr(2, "filtered");
  }  // the writer closes its file here; the sanitizer build checks the release
  EXPECT_EQ("fresh\n", name.read());
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
