#include "solver/ImpulseFile.h"

#include "solver/LineReader.h"

namespace solver {

namespace {

void readHeader(LineReader& reader, const std::vector<std::string>& names, ImpulseTable& table) {
  if (valueOf(reader, reader.expect("\"Version:1\""), "Version") != "1") {
    reader.fail("only version 1 of the impulse file is known");
  }
  if (countOf(reader, "NumPV", "a number of variables") != names.size()) {
    reader.fail("the reward types name " + std::to_string(names.size()) + " variables");
  }
  for (const std::string& expected : names) {
    expectVariableName(reader, expected);
    const unsigned long long flag =
        parseUnsigned(reader, reader.expect("whether " + expected + " has impulses"), "0 or 1");
    if (flag > 1) {
      reader.fail("0 or 1 expected (whether " + expected + " has impulses)");
    }
    table.defines.push_back(flag == 1);
  }
  table.numVariables = names.size();
}

// One impulse of variable v; nonzero only where the header says v has some.
double readImpulse(LineReader& reader, const ImpulseTable& table, const std::string& name,
                   std::size_t v, std::uint32_t state) {
  const double impulse = parseNumber(reader, reader.expectLazily([&] {
    return "the impulses of " + name + " in state " + std::to_string(state);
  }),
                                     "an impulse reward");
  if (impulse != 0 && !table.defines[v]) {
    reader.fail(name + " has no impulses by the header, but earns one in state " +
                std::to_string(state));
  }
  return impulse;
}

void readDeterministic(LineReader& reader, const std::vector<std::string>& names,
                       std::uint32_t state, ImpulseTable& table) {
  const unsigned long long count = parseUnsigned(
      reader,
      reader.expect("the number of deterministic activities of state " + std::to_string(state)),
      "a number of deterministic activities");
  std::uint32_t last = 0;
  for (unsigned long long a = 0; a < count; a++) {
    ImpulseTable::Deterministic entry;
    entry.state = state;
    const unsigned long long activity = parseUnsigned(
        reader, reader.expect("a deterministic activity's number"), "an activity number");
    if (activity <= last || activity > 0xffffffffull) {
      reader.fail("activity numbers must ascend from 1");
    }
    last = entry.activity = static_cast<std::uint32_t>(activity);
    entry.delay = parseNumber(
        reader, reader.expect("the delay of activity " + std::to_string(activity)), "a delay");
    if (entry.delay <= 0) {
      reader.fail("a deterministic delay must be positive");
    }
    entry.first = table.firingImpulse.size();
    for (std::size_t v = 0; v < names.size(); v++) {
      table.firingImpulse.push_back(readImpulse(reader, table, names[v], v, state));
    }
    table.deterministic.push_back(entry);
  }
}

ImpulseTable readTable(LineReader& reader, const std::vector<std::string>& names,
                       std::uint32_t numStates) {
  ImpulseTable table;
  readHeader(reader, names, table);
  for (std::uint32_t state = 1; state <= numStates; state++) {
    expectStateNumber(reader, state, numStates);
    for (std::size_t v = 0; v < names.size(); v++) {
      table.rate.push_back(readImpulse(reader, table, names[v], v, state));
    }
    readDeterministic(reader, names, state, table);
  }
  reader.expectEnd("the records of all " + std::to_string(numStates) + " states");
  return table;
}

}  // namespace

Parsed<ImpulseTable> readImpulses(std::istream& in, const std::string& name,
                                  const std::vector<std::string>& names, std::uint32_t numStates) {
  return readInput(in, name,
                   [&](LineReader& reader) { return readTable(reader, names, numStates); });
}

Parsed<ImpulseTable> readImpulseFile(const std::string& path, const std::vector<std::string>& names,
                                     std::uint32_t numStates) {
  return readFile(path, [&](LineReader& reader) { return readTable(reader, names, numStates); });
}

}  // namespace solver
