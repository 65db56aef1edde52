#include "solver/MarkingFile.h"

#include <limits>

#include "solver/LineReader.h"

namespace solver {

namespace {

MarkingTable readTable(LineReader& reader, std::uint32_t numStates) {
  MarkingTable table;
  const std::vector<std::string_view> header = fieldsOf(reader.expect("the header"));
  if (header.empty() || header[0] != "state") {
    reader.fail("a header \"state\" and the names of the state variables expected");
  }
  table.variables.assign(header.begin() + 1, header.end());
  for (std::uint32_t state = 1; state <= numStates; state++) {
    const std::vector<std::string_view> fields = fieldsOf(
        reader.expectLazily([state] { return "the marking of state " + std::to_string(state); }));
    if (fields.size() != header.size() ||
        parseUnsigned(reader, fields[0], "a state number") != state) {
      reader.fail("state " + std::to_string(state) + " and " +
                  std::to_string(table.variables.size()) + " markings expected");
    }
    for (std::size_t v = 1; v < fields.size(); v++) {
      const long long marking = parseSigned(reader, fields[v], "a marking");
      if (marking < std::numeric_limits<std::int16_t>::min() ||
          marking > std::numeric_limits<std::int16_t>::max()) {
        reader.fail("a marking must lie between -32768 and 32767");
      }
      table.markings.push_back(static_cast<std::int16_t>(marking));
    }
  }
  reader.expectEnd("the marking of the last state");
  return table;
}

}  // namespace

std::string MarkingTable::describe(std::uint32_t state) const {
  std::string text;
  const std::size_t first = (state - 1) * variables.size();
  for (std::size_t v = 0; v < variables.size(); v++) {
    text += (v > 0 ? " " : "") + variables[v] + "=" + std::to_string(markings[first + v]);
  }
  return text;
}

Parsed<MarkingTable> readMarkings(std::istream& in, const std::string& name,
                                  std::uint32_t numStates) {
  return readInput(in, name,
                   [numStates](LineReader& reader) { return readTable(reader, numStates); });
}

Parsed<MarkingTable> readMarkingFile(const std::string& path, std::uint32_t numStates) {
  return readFile(path, [numStates](LineReader& reader) { return readTable(reader, numStates); });
}

}  // namespace solver
