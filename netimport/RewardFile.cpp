#include "netimport/RewardFile.h"

#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "netimport/NameIndex.h"
#include "netimport/NetLimits.h"
#include "netimport/TextInput.h"

namespace {

using Variables = std::vector<NetRewardVariable>;

// Reads the lines of one reward file into variables.
class RewardParser {
 public:
  RewardParser(const std::string& fileName, const NetDescription& net)
      : FileName(fileName), Places(net.places, "place") {}

  // Reads one line into a variable, or says what is wrong with it.
  std::optional<Diagnostic> read(const WordLine& line);
  Variables take() { return std::move(Read); }

 private:
  // The places from words[2] up to "at"; returns the index of "at".
  std::optional<Diagnostic> readPlaces(const WordLine& line, NetRewardVariable& variable,
                                       std::size_t& at);
  std::optional<Diagnostic> readTimes(const WordLine& line, std::size_t at,
                                      NetRewardVariable& variable);
  Diagnostic problem(const WordLine& line, std::size_t word, std::string message) const {
    return diagnosticAt(FileName, line, line.words[word], std::move(message));
  }

  const std::string& FileName;
  NameIndex Places;
  Variables Read;
  std::unordered_map<std::string, int> DefinedOnLine;
  int PlacesNamed = 0;  // by all variables so far
};

std::optional<Diagnostic> RewardParser::read(const WordLine& line) {
  const std::vector<Word>& words = line.words;
  if (static_cast<int>(Read.size()) >= net_limits::kMaxRewardVariables) {
    return problem(line, 0,
                   "more than " + std::to_string(net_limits::kMaxRewardVariables) + " variables");
  }
  const auto defined = DefinedOnLine.emplace(words[0].text, line.number);
  if (!defined.second) {
    return problem(line, 0,
                   "variable '" + words[0].text + "' is already defined on line " +
                       std::to_string(defined.first->second));
  }
  NetRewardVariable variable;
  variable.name = words[0].text;
  const std::string kind = words.size() > 1 ? words[1].text : "";
  if (kind != "tokens" && kind != "marked") {
    return problem(line, words.size() > 1 ? 1 : 0, "expected tokens or marked after the variable");
  }
  variable.measure =
      kind == "tokens" ? NetRewardVariable::Measure::Tokens : NetRewardVariable::Measure::Marked;
  std::size_t at = 0;
  if (std::optional<Diagnostic> wrong = readPlaces(line, variable, at)) {
    return wrong;
  }
  if (std::optional<Diagnostic> wrong = readTimes(line, at, variable)) {
    return wrong;
  }
  Read.push_back(std::move(variable));
  return std::nullopt;
}

std::optional<Diagnostic> RewardParser::readPlaces(const WordLine& line,
                                                   NetRewardVariable& variable, std::size_t& at) {
  const std::vector<Word>& words = line.words;
  std::unordered_set<int> listed;
  for (at = 2; at < words.size() && words[at].text != "at"; at++) {
    std::string missing;
    const std::optional<int> place = Places.find(words[at].text, missing);
    if (!place) {
      return problem(line, at, missing);
    }
    if (!listed.insert(*place).second) {
      return problem(line, at, "place '" + words[at].text + "' is listed twice");
    }
    if (++PlacesNamed > net_limits::kMaxRewardPlaces) {
      return problem(line, at,
                     "the variables name more than " +
                         std::to_string(net_limits::kMaxRewardPlaces) + " places");
    }
    variable.places.push_back(*place);
  }
  if (variable.places.empty()) {
    return problem(line, 1, words[1].text + " needs a place");
  }
  if (variable.measure == NetRewardVariable::Measure::Marked && variable.places.size() > 1) {
    return problem(line, 3, "marked takes one place");
  }
  if (at == words.size()) {
    return problem(line, at - 1, "expected 'at' and the time points after the places");
  }
  return std::nullopt;
}

std::optional<Diagnostic> RewardParser::readTimes(const WordLine& line, std::size_t at,
                                                  NetRewardVariable& variable) {
  const std::vector<Word>& words = line.words;
  if (at + 1 == words.size()) {
    return problem(line, at, "'at' needs at least one time point");
  }
  if (words.size() - at - 1 > static_cast<std::size_t>(net_limits::kMaxTimePoints)) {
    return problem(line, at,
                   "more than " + std::to_string(net_limits::kMaxTimePoints) + " time points");
  }
  for (std::size_t k = at + 1; k < words.size(); k++) {
    const std::optional<double> time = parseNumber(words[k].text);
    if (!time || *time < 0) {
      return problem(line, k, "the time '" + words[k].text + "' is not a number from 0 up");
    }
    variable.times.push_back(*time);
  }
  return std::nullopt;
}

}  // namespace

ReadResult<Variables> parseRewards(const std::string& text, const std::string& fileName,
                                   const NetDescription& net) {
  RewardParser parser(fileName, net);
  for (const WordLine& line : splitWordLines(text)) {
    if (std::optional<Diagnostic> wrong = parser.read(line)) {
      return ReadResult<Variables>::failure(std::move(*wrong));
    }
  }
  return ReadResult<Variables>::success(parser.take());
}

ReadResult<Variables> readRewardFile(const std::string& path, const NetDescription& net) {
  ReadResult<std::string> text = readFileText(path, net_limits::kMaxLineFileBytes);
  if (!text.ok()) {
    return ReadResult<Variables>::failure(text.error);
  }
  return parseRewards(*text.value, path, net);
}
