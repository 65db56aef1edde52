#include "solver/DelayFile.h"

#include <set>

#include "solver/BinaryFiles.h"
#include "solver/LineReader.h"

namespace solver {

namespace {

DelayEnabling readEntry(LineReader& reader, std::uint32_t numStates) {
  DelayEnabling entry;
  entry.delay = parseNumber(reader, reader.expect("a delay"), "a delay");
  entry.line = reader.line();
  if (entry.delay <= 0) {
    reader.fail("a deterministic delay must be positive");
  }
  for (;;) {
    const unsigned long long state = parseUnsigned(
        reader, reader.expect("a state or the 0 ending the delay's list"), "a state number");
    if (state == 0) {
      return entry;
    }
    if (state > numStates) {
      reader.fail("state " + std::to_string(state) + " is beyond the " + std::to_string(numStates) +
                  " states");
    }
    entry.states.push_back(static_cast<std::uint32_t>(state));
  }
}

std::vector<DelayEnabling> readEntries(LineReader& reader, std::uint32_t numStates) {
  if (isBinaryDelays(reader)) {
    return readBinaryDelays(reader, numStates);
  }
  const unsigned long long count =
      parseUnsigned(reader, reader.expect("the number of delays"), "the number of delays");
  std::vector<DelayEnabling> entries;
  std::set<double> seen;
  for (unsigned long long i = 0; i < count; i++) {
    entries.push_back(readEntry(reader, numStates));
    if (!seen.insert(entries.back().delay).second) {
      reader.failAt(entries.back().line, "the delay is listed twice");
    }
  }
  reader.expectEnd("the last delay's list");
  return entries;
}

}  // namespace

Parsed<std::vector<DelayEnabling>> readDelays(std::istream& in, const std::string& name,
                                              std::uint32_t numStates) {
  return readInput(in, name,
                   [numStates](LineReader& reader) { return readEntries(reader, numStates); });
}

Parsed<std::vector<DelayEnabling>> readDelayFile(const std::string& path, std::uint32_t numStates) {
  return readFile(path, [numStates](LineReader& reader) { return readEntries(reader, numStates); });
}

}  // namespace solver
