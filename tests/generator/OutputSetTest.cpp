// The set of a run's files: temporary names, and the commit that renames
// them into place and removes what is stale, one run at a time per folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "generator/OutputSet.h"
#include "tests/TestFiles.h"

namespace {

class OutputSetTest : public testing::Test {
 protected:
  void write(const std::string& name, const std::string& text) { std::ofstream(name) << text; }
  std::size_t filesInDir() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.path),
                                                  std::filesystem::directory_iterator()));
  }
  // A set on prefix that has written text into the files of suffixes.
  void fill(OutputSet& set, std::initializer_list<const char*> suffixes, const std::string& text) {
    for (const char* suffix : suffixes) {
      write(set.Claim(suffix), text);
    }
  }

  test_files::ScratchDir dir;
  std::string prefix = dir.prefix() + "e1";
};

TEST_F(OutputSetTest, TemporariesLieBesideTheFinalNamesAndAreShownByThem) {
  OutputSet set(prefix);
  const std::string temporary = set.Claim(".arm");
  EXPECT_EQ(dir.path, std::filesystem::path(temporary).parent_path().string());
  EXPECT_NE(prefix + ".arm", temporary);
  EXPECT_EQ(prefix + ".arm", set.Shown(temporary));
  EXPECT_EQ("other", set.Shown("other"));
  // A suffix outside the usual set is committed all the same.
  write(temporary, "arm\n");
  write(set.Claim(".extra"), "extra\n");
  std::string failed;
  ASSERT_TRUE(set.Commit(failed));
  EXPECT_EQ("arm\n", dir.read("e1.arm"));
  EXPECT_EQ("extra\n", dir.read("e1.extra"));
  EXPECT_EQ(2u, filesInDir());
}

TEST_F(OutputSetTest, TheLaterCommitWinsWholeAndRemovesWhatItDidNotWrite) {
  OutputSet first(prefix);
  OutputSet second(prefix);
  fill(first, {".arm", ".var", ".det", ".imp"}, "first\n");
  fill(second, {".arm", ".var"}, "second\n");
  std::string failed;
  ASSERT_TRUE(first.Commit(failed));
  ASSERT_TRUE(second.Commit(failed));
  EXPECT_EQ("second\n", dir.read("e1.arm"));
  EXPECT_EQ("second\n", dir.read("e1.var"));
  EXPECT_FALSE(dir.exists("e1.det") || dir.exists("e1.imp"));
  EXPECT_EQ(2u, filesInDir());
}

TEST_F(OutputSetTest, ACommitWaitsForTheFoldersLock) {
  OutputSet set(prefix);
  fill(set, {".arm"}, "arm\n");
  const int folder = open(dir.path.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(0, flock(folder, LOCK_EX));
  std::thread committing([&] {
    std::string failed;
    EXPECT_TRUE(set.Commit(failed));
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(dir.exists("e1.arm")) << "committed while another run held the lock";
  close(folder);
  committing.join();
  EXPECT_EQ("arm\n", dir.read("e1.arm"));
}

TEST_F(OutputSetTest, LinksAreReplacedAndFoldersUnderAFinalNameRefused) {
  write(dir.path + "/target", "someone else's\n");
  std::filesystem::create_symlink(dir.path + "/target", prefix + ".var");
  std::filesystem::create_symlink(dir.path + "/target", prefix + ".firings");
  OutputSet set(prefix);
  std::string failed;
  ASSERT_TRUE(set.RemoveFinal(failed));
  fill(set, {".var"}, "var\n");
  std::filesystem::create_symlink(dir.path + "/target", prefix + ".var");
  ASSERT_TRUE(set.Commit(failed));
  EXPECT_FALSE(std::filesystem::is_symlink(prefix + ".var"));
  EXPECT_EQ("var\n", dir.read("e1.var"));
  EXPECT_EQ("someone else's\n", dir.read("target"));

  std::filesystem::create_directory(prefix + ".det");
  OutputSet blocked(prefix);
  EXPECT_FALSE(blocked.RemoveFinal(failed));
  EXPECT_EQ(prefix + ".det", failed);
  EXPECT_EQ(EISDIR, errno);
  fill(blocked, {".arm"}, "arm\n");
  EXPECT_FALSE(blocked.Commit(failed));
  EXPECT_FALSE(dir.exists("e1.arm") || dir.exists("e1.var")) << "nothing of a failed commit stays";
}

TEST_F(OutputSetTest, TemporariesGoWithTheSetOrTheProgramUnlessCommitted) {
  {
    OutputSet set(prefix);
    fill(set, {".arm", ".var"}, "partial\n");
  }
  EXPECT_EQ(0u, filesInDir());
  EXPECT_EXIT(
      {
        static OutputSet set(prefix);
        std::ofstream(set.Claim(".arm")) << "partial\n";
        std::exit(1);
      },
      testing::ExitedWithCode(1), "");
  EXPECT_EXIT(
      {
        static OutputSet set(prefix);
        std::ofstream(set.Claim(".arm")) << "partial\n";
        raise(SIGTERM);
      },
      testing::KilledBySignal(SIGTERM), "");
  EXPECT_EQ(0u, filesInDir());
}

}  // namespace
