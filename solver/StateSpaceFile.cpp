#include "solver/StateSpaceFile.h"

#include <algorithm>
#include <limits>

#include "solver/BinaryFiles.h"
#include "solver/LineReader.h"

namespace solver {

namespace {

bool blank(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

std::uint32_t readHeader(LineReader& reader) {
  if (isBinaryStateSpace(reader)) {
    return readBinaryStateCount(reader);
  }
  const std::string_view type = reader.expect("the output type");
  if (type != "1") {
    reader.fail("output type \"" + std::string(type.substr(0, 20)) +
                "\" is not supported: only 1 (text) is");
  }
  const std::string_view countLine = reader.expect("the number of states");
  if (!countLine.empty() && blank(countLine)) {
    // The generator writes the count over its placeholder when it is done.
    reader.fail(
        "the number of states was never written: the run that wrote the file did not "
        "finish");
  }
  const unsigned long long count = parseUnsigned(reader, countLine, "the number of states");
  if (count == 0) {
    reader.fail("a state space has at least one state");
  }
  if (count > std::numeric_limits<std::uint32_t>::max()) {
    reader.fail("more states than the generator can number");
  }
  return static_cast<std::uint32_t>(count);
}

std::string stateText(unsigned long state) { return "state " + std::to_string(state); }

// Reads the targets and values of state's record up to its 0.
void readTargets(LineReader& reader, std::uint32_t state, StateSpace& space,
                 const std::vector<std::uint32_t>& deterministic) {
  std::uint32_t last = 0;
  for (;;) {
    const unsigned long long target = parseUnsigned(reader, reader.expectLazily([state] {
      return "a target of " + stateText(state) + " or its 0";
    }),
                                                    "a target state");
    if (target == 0) {
      return;
    }
    if (target > space.numStates) {
      reader.fail("target " + std::to_string(target) + " is beyond the " +
                  std::to_string(space.numStates) + " states");
    }
    if (target <= last) {
      reader.fail("target " + std::to_string(target) + " does not follow target " +
                  std::to_string(last) + ": targets must ascend");
    }
    last = static_cast<std::uint32_t>(target);
    const double value = parseNumber(reader, reader.expectLazily([target] {
      return "the value of the transition to " + stateText(target);
    }),
                                     "a rate");
    if (value < 0 && !std::binary_search(deterministic.begin(), deterministic.end(), state)) {
      reader.fail("negative value (a deterministic firing) in " + stateText(state) +
                  ", in which no deterministic delay is enabled");
    }
    space.target.push_back(last);
    space.value.push_back(value);
  }
}

StateSpace readRecords(LineReader& reader, const std::vector<std::uint32_t>& deterministic) {
  if (isBinaryStateSpace(reader)) {
    return readBinaryStateSpace(reader, deterministic);
  }
  StateSpace space;
  space.numStates = readHeader(reader);
  space.rowStart.push_back(0);
  std::string_view line = reader.expect("the record of state 1");
  if (blank(line)) {
    line = reader.expect("the record of state 1");
  }
  for (std::uint32_t state = 1;; state++) {
    if (parseUnsigned(reader, line, "a state number") != state) {
      reader.fail("the record of " + stateText(state) + " expected, not that of state " +
                  std::string(line));
    }
    readTargets(reader, state, space, deterministic);
    space.rowStart.push_back(space.target.size());
    if (state == space.numStates) {
      break;
    }
    line = reader.expectLazily([state] { return "the record of " + stateText(state + 1); });
  }
  reader.expectEnd("the record of the last state");
  return space;
}

}  // namespace

Parsed<std::uint32_t> readStateCount(std::istream& in, const std::string& name) {
  return readInput(in, name, readHeader);
}

Parsed<std::uint32_t> readStateCountOfFile(const std::string& path) {
  return readFile(path, readHeader);
}

Parsed<StateSpace> readStateSpace(std::istream& in, const std::string& name,
                                  const std::vector<std::uint32_t>& deterministic) {
  return readInput(in, name,
                   [&](LineReader& reader) { return readRecords(reader, deterministic); });
}

Parsed<StateSpace> readStateSpaceFile(const std::string& path,
                                      const std::vector<std::uint32_t>& deterministic) {
  return readFile(path, [&](LineReader& reader) { return readRecords(reader, deterministic); });
}

}  // namespace solver
