#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>

#include "common/TextFile.h"
#include "tests/TestFiles.h"

namespace {

TEST(TextFileTest, ARegularFileIsReadWhole) {
  test_files::ScratchDir dir("text");
  std::ofstream(dir.prefix() + "f.txt", std::ios::binary) << std::string("a\0b\n", 4);
  const TextFileContent content = readTextFile(dir.prefix() + "f.txt", 4);
  ASSERT_TRUE(content.text.has_value()) << content.problem;
  EXPECT_EQ(std::string("a\0b\n", 4), *content.text);
  EXPECT_EQ(std::nullopt, notRegularFile(dir.prefix() + "f.txt"));
  EXPECT_EQ("is larger than 3 bytes", readTextFile(dir.prefix() + "f.txt", 3).problem);
}

TEST(TextFileTest, WhatIsNotARegularFileIsRefusedWithoutWaiting) {
  test_files::ScratchDir dir("text");
  ASSERT_EQ(0, mkfifo((dir.prefix() + "fifo").c_str(), 0600));
  // Opening a FIFO to read would wait for a writer for ever.
  EXPECT_EQ("is a FIFO (named pipe), not a regular file",
            readTextFile(dir.prefix() + "fifo", 100).problem);
  EXPECT_EQ("is a directory, not a regular file", readTextFile(dir.path, 100).problem);
  EXPECT_EQ("is a device, not a regular file", readTextFile("/dev/zero", 100).problem);
  EXPECT_EQ("no such file", readTextFile(dir.prefix() + "none", 100).problem);
  EXPECT_FALSE(readTextFile(dir.prefix() + "fifo", 100).text.has_value());
  EXPECT_EQ("is a FIFO (named pipe), not a regular file", notRegularFile(dir.prefix() + "fifo"));
}

TEST(TextFileTest, AByteOrderMarkIsFoundOnlyWhole) {
  EXPECT_EQ(3u, byteOrderMarkLength("\xEF\xBB\xBF"
                                    "atomic"));
  EXPECT_EQ(0u, byteOrderMarkLength("\xEF\xBB"));
  EXPECT_EQ(0u, byteOrderMarkLength("atomic"));
}

}  // namespace
