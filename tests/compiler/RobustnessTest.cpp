// The front end on broken and hostile input: it always returns, with a model
// or with errors, and what input can cost it is bounded. (Run under the
// sanitizers, these also check that nothing is read or written out of
// bounds.)
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/TestFiles.h"
#include "tests/compiler/CompileHelpers.h"

namespace {

using compile_helpers::errorsOf;
using compile_helpers::firstError;

const char* const kDescriptions[] = {"bench/kanban/kanban.san", "bench/job_shop/job_shop.san",
                                     "model/basic_model.san", "examples/tandem.san"};

std::string description(const char* path) {
  return test_files::readFile(std::string(PROJECT_SOURCE_DIR) + "/" + path);
}

TEST(RobustnessTest, EveryPrefixOfADescriptionCompilesOrFails) {
  for (const char* path : kDescriptions) {
    const std::string text = description(path);
    ASSERT_FALSE(text.empty()) << path;
    EXPECT_EQ(std::vector<std::string>(), errorsOf(text)) << path;
    for (std::size_t length = 0; length < text.size(); length += 3) {
      errorsOf(text.substr(0, length));
    }
  }
}

TEST(RobustnessTest, MutatedDescriptionsCompileOrFail) {
  std::mt19937 random(12345);
  const std::string bytes = "{}()[],.:;=*?\"'/\n x1_9-";
  for (const char* path : kDescriptions) {
    const std::string text = description(path);
    for (int round = 0; round < 300; round++) {
      std::string mutated = text;
      for (int edit = 0; edit < 3; edit++) {
        const std::size_t at = random() % mutated.size();
        if (random() % 2 == 0) {
          mutated[at] = bytes[random() % bytes.size()];
        } else {
          mutated.erase(at, random() % 8);
        }
      }
      errorsOf(mutated);
    }
  }
}

TEST(RobustnessTest, HostileInputCostsBoundedWork) {
  // A stray closing brace, deep nesting, and a flood of errors.
  EXPECT_EQ("1:1: expected import, global, formula, atomic, join, rewards or study, found '}'",
            errorsOf("}\n").front());
  EXPECT_EQ(1u, errorsOf("atomic a {\n  place p = " + std::string(100000, '(') + "\n}").size());
  std::string flood;
  for (int i = 0; i < 1000; i++) {
    flood += "oops\n";
  }
  EXPECT_EQ(sanc::Diagnostics::kMaxErrors, errorsOf(flood).size());
  EXPECT_EQ("4:24: 1000000000000000 is too large for a range",
            firstError("global long n\natomic a {\n}\nstudy range { n = 1 .. 1000000000000000 }"));
}

}  // namespace
