#ifndef TESTS_TESTFILES_H_
#define TESTS_TESTFILES_H_

// Files for the tests: reading a whole file, splitting text into lines,
// scratch files and directories that remove themselves, and runs of a
// program in a scratch directory. Names carry the process id (or a unique
// suffix) so that parallel runs of the suites stay apart.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace test_files {

// The bytes of the file called name; empty when it cannot be read.
inline std::string readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The lines of text without their line feeds; a last line without one
// counts too.
inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

// The name of the running test, to keep the files of two tests apart.
inline std::string currentTestName() {
  return testing::UnitTest::GetInstance()->current_test_info()->name();
}

// A file name of this test process, base followed by the process id; the
// file, if one was made, is removed when the object goes.
class TempFile {
 public:
  explicit TempFile(const std::string& base)
      : path(testing::TempDir() + base + "." + std::to_string(getpid())) {}
  ~TempFile() { std::remove(path.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const char* c_str() const { return path.c_str(); }
  std::string read() const { return readFile(path); }

  const std::string path;
};

// What a program printed and how it ended.
struct ProgramRun {
  int status;  // the exit status; -1 when the program did not exit
  std::string out;
  std::string err;
};

// A fresh directory, removed with its content when the object goes.
class ScratchDir {
 public:
  explicit ScratchDir(const std::string& base = "ssg")
      : path(testing::TempDir() + base + "XXXXXX") {
    if (mkdtemp(path.data()) == nullptr) {
      ADD_FAILURE() << "cannot create " << path;
    }
  }
  ~ScratchDir() { std::filesystem::remove_all(path); }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // The directory with a trailing separator, as an output path prefix.
  std::string prefix() const { return path + "/"; }
  std::string read(const std::string& name) const { return readFile(prefix() + name); }
  bool exists(const std::string& name) const { return std::filesystem::exists(prefix() + name); }

  // Runs the shell command line in the directory; its last command's standard
  // output and error go to stdout.txt and stderr.txt there.
  ProgramRun run(const std::string& command) const {
    const std::string line = "cd " + path + " && " + command + " >stdout.txt 2>stderr.txt";
    const int raw = std::system(line.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read("stdout.txt"), read("stderr.txt")};
  }

  std::string path;
};

}  // namespace test_files

#endif
