#include "solver/FiringFile.h"

#include <tuple>

#include "solver/LineReader.h"

namespace solver {

namespace {

// Probabilities are sums of products of case probabilities, written with
// 11 significant digits: a certain firing may read slightly above 1.
const double kMaxProbability = 1.0 + 1e-9;

std::uint32_t numberIn(const LineReader& reader, std::string_view field, std::string_view what,
                       unsigned long long last) {
  const unsigned long long number = parseUnsigned(reader, field, what);
  if (number == 0 || number > last) {
    reader.fail(std::string(what) + " " + std::to_string(number) + " is not between 1 and " +
                std::to_string(last));
  }
  return static_cast<std::uint32_t>(number);
}

std::vector<std::string> readActivities(LineReader& reader) {
  const unsigned long long count =
      parseUnsigned(reader, valueOf(reader, reader.expect("\"Activities:\""), "Activities"),
                    "a number of activities");
  std::vector<std::string> names;
  for (unsigned long long a = 1; a <= count; a++) {
    const std::string_view line = reader.expect("the name of activity " + std::to_string(a));
    const std::vector<std::string_view> fields = fieldsOf(line);
    if (fields.size() < 2 || parseUnsigned(reader, fields[0], "an activity number") != a) {
      reader.fail("activity " + std::to_string(a) + " and its name expected");
    }
    names.emplace_back(line.substr(fields[1].data() - line.data()));
  }
  return names;
}

FiringOutcome readOutcome(const LineReader& reader, std::string_view line, const FiringTable& table,
                          std::uint32_t numStates) {
  const std::vector<std::string_view> fields = fieldsOf(line);
  if (fields.size() != 5) {
    reader.fail("\"state activity delay target probability\" expected");
  }
  FiringOutcome outcome;
  outcome.state = numberIn(reader, fields[0], "state", numStates);
  outcome.activity = numberIn(reader, fields[1], "activity", table.activities.size());
  outcome.delay = parseNumber(reader, fields[2], "a delay");
  outcome.target = numberIn(reader, fields[3], "target", numStates);
  outcome.probability = parseNumber(reader, fields[4], "a probability");
  outcome.line = reader.line();
  if (outcome.delay <= 0) {
    reader.fail("a deterministic delay must be positive");
  }
  if (!(outcome.probability > 0 && outcome.probability <= kMaxProbability)) {
    reader.fail("a probability must lie in (0, 1]");
  }
  return outcome;
}

auto orderOf(const FiringOutcome& o) { return std::tie(o.state, o.activity, o.delay, o.target); }

FiringTable readTable(LineReader& reader, std::uint32_t numStates) {
  FiringTable table;
  table.activities = readActivities(reader);
  for (std::string_view line; reader.next(line);) {
    table.outcomes.push_back(readOutcome(reader, line, table, numStates));
    const std::size_t n = table.outcomes.size();
    if (n > 1 && !(orderOf(table.outcomes[n - 2]) < orderOf(table.outcomes[n - 1]))) {
      reader.fail("outcomes must ascend by state, activity, delay and target");
    }
  }
  return table;
}

}  // namespace

Parsed<FiringTable> readFirings(std::istream& in, const std::string& name,
                                std::uint32_t numStates) {
  return readInput(in, name,
                   [numStates](LineReader& reader) { return readTable(reader, numStates); });
}

Parsed<FiringTable> readFiringFile(const std::string& path, std::uint32_t numStates) {
  return readFile(path, [numStates](LineReader& reader) { return readTable(reader, numStates); });
}

}  // namespace solver
