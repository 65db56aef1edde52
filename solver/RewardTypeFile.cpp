#include "solver/RewardTypeFile.h"

#include "solver/LineReader.h"

namespace solver {

namespace {

double timeOf(LineReader& reader, std::string_view key) {
  const double time =
      parseNumber(reader, valueOf(reader, reader.expect(std::string(key) + ":"), key), "a time");
  if (time < 0) {
    reader.fail("negative time");
  }
  return time;
}

RewardVariable readVariable(LineReader& reader) {
  RewardVariable variable;
  variable.name = valueOf(reader, reader.expect("a variable's \"Name:\""), "Name");
  variable.line = reader.line();
  variable.type =
      parseSigned(reader, valueOf(reader, reader.expect("\"Type:\""), "Type"), "a type");
  const unsigned long long numTimes = countOf(reader, "NumTimes", "a number of time points");
  for (unsigned long long t = 0; t < numTimes; t++) {
    const double start = timeOf(reader, "Start");
    variable.times.push_back({start, timeOf(reader, "Stop")});
  }
  return variable;
}

std::vector<RewardVariable> readTypes(LineReader& reader) {
  if (valueOf(reader, reader.expect("\"Version:1\""), "Version") != "1") {
    reader.fail("only version 1 of the reward type file is known");
  }
  const unsigned long long numVariables = countOf(reader, "NumPV", "a number of variables");
  std::vector<RewardVariable> variables;
  for (unsigned long long v = 0; v < numVariables; v++) {
    variables.push_back(readVariable(reader));
  }
  reader.expectEnd("the last variable");
  return variables;
}

}  // namespace

Parsed<std::vector<RewardVariable>> readRewardTypes(std::istream& in, const std::string& name) {
  return readInput(in, name, readTypes);
}

Parsed<std::vector<RewardVariable>> readRewardTypeFile(const std::string& path) {
  return readFile(path, readTypes);
}

}  // namespace solver
