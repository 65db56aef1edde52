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

// A file handed over in pieces: every byte once, in order, the last piece
// marked as such; the taker can stop the reading.
TEST(TextFileTest, AFileIsHandedOverInPiecesTheLastOneMarked) {
  test_files::ScratchDir dir("text");
  std::string content;
  for (int i = 0; content.size() < 200000; i++) {
    content += std::to_string(i) + ' ';
  }
  std::ofstream(dir.prefix() + "f.txt", std::ios::binary) << content;
  std::string joined;
  int pieces = 0;
  int lastOnes = 0;
  const auto take = [&](std::string_view piece, bool last) {
    joined.append(piece);
    pieces++;
    lastOnes += last ? 1 : 0;
    EXPECT_EQ(last, joined.size() == content.size());
    return true;
  };
  EXPECT_EQ(std::nullopt, readFilePieces(dir.prefix() + "f.txt", content.size(), take));
  EXPECT_EQ(content, joined);
  EXPECT_GT(pieces, 1);
  EXPECT_EQ(1, lastOnes);

  std::ofstream(dir.prefix() + "empty.txt");
  joined.clear();
  content.clear();
  pieces = lastOnes = 0;
  EXPECT_EQ(std::nullopt, readFilePieces(dir.prefix() + "empty.txt", 10, take));
  EXPECT_EQ(1, lastOnes);

  pieces = 0;
  EXPECT_EQ(std::nullopt, readFilePieces(dir.prefix() + "f.txt", 1000000,
                                         [&](std::string_view, bool) { return ++pieces < 2; }));
  EXPECT_EQ(2, pieces);
  EXPECT_EQ("is larger than 199999 bytes",
            readFilePieces(dir.prefix() + "f.txt", 199999, take).value_or("read"));
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
