// sanconvert: the text form of a generator run's files, whatever form they
// were written in (gen -F2 binary, gen -z compressed, or text).
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "solver/RewardTypeFile.h"
#include "solver/TextForms.h"

namespace {

const char kUsage[] =
    "usage: sanconvert base [newbase]\n"
    "  writes the text form of every file of the run base (out/exp1 for out/exp1.arm ...)\n"
    "  under newbase, or in place without it\n";

// The files of a run, ".pvtype" first: it counts the ".var" file's variables.
const char* const kSuffixes[] = {".pvtype", ".arm", ".var", ".det", ".states", ".firings", ".imp"};

int fail(const solver::Diagnostic& problem) {
  std::cerr << "sanconvert: " << problem.text() << std::endl;
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::cerr << kUsage;
    return 1;
  }
  const std::string base = argv[1];
  const std::string target = argc == 3 ? argv[2] : base;
  std::optional<std::size_t> numVariables;
  int converted = 0;
  for (const std::string suffix : kSuffixes) {
    std::error_code error;
    if (!std::filesystem::exists(base + suffix, error)) {
      continue;
    }
    if (suffix == ".pvtype") {
      const auto types = solver::readRewardTypeFile(base + suffix);
      if (!types.ok()) {
        return fail(types.error());
      }
      numVariables = types.value().size();
    } else if (suffix == ".var" && !numVariables) {
      return fail({base + ".pvtype", 0, "no such file: it names the .var file's variables"});
    }
    if (auto problem = solver::convertToText(base + suffix, suffix, numVariables.value_or(0),
                                                 target + suffix)) {
      return fail(*problem);
    }
    converted++;
  }
  if (converted == 0) {
    return fail({base, 0, "no file of a run (.arm, .var, .pvtype ...) under this name"});
  }
  return 0;
}
