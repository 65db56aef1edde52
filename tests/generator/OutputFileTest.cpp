#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>

#include <zstd.h>

#include "generator/BackgroundWriter.h"
#include "generator/OutputFile.h"
#include "tests/TestFiles.h"

namespace {

// While it lives, no writer thread can be started, as under a process limit.
class NoWriterThreads {
 public:
  NoWriterThreads() : saved(BackgroundWriter::StartThread) {
    BackgroundWriter::StartThread = [](std::function<void()>) -> std::thread {
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
  }
  ~NoWriterThreads() { BackgroundWriter::StartThread = saved; }

 private:
  std::thread (*saved)(std::function<void()>);
};

class OutputFileTest : public testing::Test {
 protected:
  std::string contents() const { return name.read(); }

  test_files::TempFile name{"output_file_test." + test_files::currentTestName()};
};

// Values whose formatting differs in every respect the solvers read: sign,
// exponent range and width, rounding at the last digit, integers as doubles.
std::vector<double> sampleValues() {
  std::vector<double> values = {0.0,          -0.0,         1.0,      0.5,      1e-07,   1.5e-16,
                                6.012,        2.95e-06,     365.0,    1e+19,    -0.3,    -0.7,
                                1.0 / 3,      123456789,    1e-300,   4.9e-324, 1.7e308, 0.00274,
                                5.6362522125, 0.3757507375, 99999.95, 999999.5, 1e100};
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
  std::uniform_int_distribution<int> exponent(-40, 40);
  for (int i = 0; i < 2000; i++) {
    values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
  }
  return values;
}

TEST_F(OutputFileTest, WritesWhatTheStreamsWrite) {
  std::ostringstream scientific, general;
  scientific.precision(10);
  scientific.setf(std::ios::scientific, std::ios::floatfield);
  OutputFile file;
  ASSERT_TRUE(file.open(name.c_str()));
  for (int round = 0; round < 2; round++) {  // the second round meets the format cache
    for (double value : sampleValues()) {
      scientific << value << '\n';
      general << value << '\n';
      file.putScientific(value);
      file.put('\n');
      file.putGeneral(value);
      file.put('\n');
    }
  }
  for (unsigned long n : {0ul, 7ul, 4294967295ul, 18446744073709551615ul}) {
    general << n << ' ' << -static_cast<long>(n % 1000) << '\n';
    file.putUnsigned(n);
    file.put(' ');
    file.putSigned(-static_cast<long>(n % 1000));
    file.put('\n');
  }
  ASSERT_TRUE(file.close());
  // Interleave the expectations as the file interleaves the values.
  std::istringstream sci(scientific.str()), gen(general.str());
  std::string expected, line;
  while (std::getline(sci, line)) {
    expected += line + '\n';
    std::getline(gen, line);
    expected += line + '\n';
  }
  while (std::getline(gen, line)) {
    expected += line + '\n';
  }
  EXPECT_EQ(expected, contents());
}

TEST_F(OutputFileTest, OutputLargerThanItsBuffersArrivesWholeWithOrWithoutAWriterThread) {
  for (bool threads : {true, false}) {
    SCOPED_TRACE(threads ? "writer thread" : "no writer thread");
    std::unique_ptr<NoWriterThreads> limit(threads ? nullptr : new NoWriterThreads);
    OutputFile file;
    ASSERT_TRUE(file.open(name.c_str()));
    const std::string block(3 << 20, 'x');  // three buffers' worth in one call
    file.putBytes(block.data(), block.size());
    for (int i = 0; i < 300000; i++) {
      file.putUnsigned(i);
      file.put('\n');
    }
    ASSERT_TRUE(file.close());
    const std::string text = contents();
    ASSERT_EQ(block.size() + 1988890, text.size());
    EXPECT_EQ(block, text.substr(0, block.size()));
    EXPECT_EQ("299999\n", text.substr(text.size() - 7));
  }
}

// The bytes of a file of zstd frames, decompressed.
std::string decompressed(const std::string& bytes) {
  std::string out(bytes.size() * 50 + 1024, '\0');
  const std::size_t size = ZSTD_decompress(out.data(), out.size(), bytes.data(), bytes.size());
  if (ZSTD_isError(size)) {
    ADD_FAILURE() << ZSTD_getErrorName(size);
    return "";
  }
  out.resize(size);
  return out;
}

TEST_F(OutputFileTest, AReplacedHeadReadsAsIfWrittenFirstCompressedOrNot) {
  for (bool compressed : {false, true}) {
    for (bool threads : {true, false}) {
      for (const std::string head : {"1\n123     \n", "1\n1234567890123\n"}) {
        SCOPED_TRACE(std::string(compressed ? "compressed" : "plain") + ", head " + head);
        std::unique_ptr<NoWriterThreads> limit(threads ? nullptr : new NoWriterThreads);
        OutputFile file;
        ASSERT_TRUE(file.open(name.c_str(), compressed ? std::optional<int>(3) : std::nullopt));
        file.put("1\n        \n");
        file.endHead();
        std::string body;
        for (int i = 0; i < 400000; i++) {  // three buffers and more
          file.putUnsigned(i);
          file.put('\n');
          body += std::to_string(i) + "\n";
        }
        ASSERT_TRUE(file.replaceHead(head));
        ASSERT_TRUE(file.close());
        EXPECT_EQ(head + body, compressed ? decompressed(contents()) : contents());
      }
    }
  }
}

TEST_F(OutputFileTest, ReplaceHeadGivesALongerCountItsRoom) {
  {
    OutputFile file;
    ASSERT_TRUE(file.open(name.c_str()));
    file.put("1\n        \n1\n0\n");
    ASSERT_TRUE(file.close());
  }
  ASSERT_TRUE(OutputFile::ReplaceHead(name.c_str(), 11, "1\n123456789\n"));
  EXPECT_EQ("1\n123456789\n1\n0\n", contents());
  EXPECT_FALSE(OutputFile::ReplaceHead((name.path + ".absent").c_str(), 11, "1\n"));
}

TEST_F(OutputFileTest, AFullDiskIsReportedWithItsReason) {
  OutputFile file;
  ASSERT_TRUE(file.open("/dev/full"));
  for (int i = 0; i < 1000000; i++) {
    file.putUnsigned(i);
  }
  EXPECT_FALSE(file.close());
  EXPECT_EQ(ENOSPC, file.error());
}

TEST_F(OutputFileTest, WhatWasWrittenSurvivesAnExit) {
  EXPECT_EXIT(
      {
        static OutputFile file;  // never closed: the exit flushes it
        if (!file.open(name.c_str())) std::exit(2);
        file.put("kept\n");
        std::exit(1);
      },
      testing::ExitedWithCode(1), "");
  EXPECT_EQ("kept\n", contents());
}

}  // namespace
