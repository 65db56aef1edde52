#include "netimport/TimingFile.h"

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "netimport/NameIndex.h"
#include "netimport/NetLimits.h"
#include "netimport/TextInput.h"

namespace {

// Applies the lines of one timing file to a net, remembering which
// transition each line timed.
class TimingParser {
 public:
  TimingParser(const std::string& fileName, NetDescription& net)
      : FileName(fileName),
        Net(net),
        Transitions(net.transitions, "transition"),
        TimedOnLine(net.transitions.size(), 0) {}

  // Applies one line; the problem, if there is one.
  std::optional<Diagnostic> apply(const WordLine& line);

 private:
  // "exponential <rate>" or "deterministic <delay>".
  std::optional<Diagnostic> single(const WordLine& line, NetDescription::TransitionEntry& entry,
                                   Distribution distribution, const std::string& what);
  std::optional<Diagnostic> immediate(const WordLine& line, NetDescription::TransitionEntry& entry);
  // Reads the option "weight <w>" or "priority <p>" at words[k] into entry.
  std::optional<Diagnostic> immediateOption(const WordLine& line, std::size_t k,
                                            NetDescription::TransitionEntry& entry);
  Diagnostic at(const WordLine& line, std::size_t word, std::string message) const {
    return diagnosticAt(FileName, line, line.words[word], std::move(message));
  }

  const std::string& FileName;
  NetDescription& Net;
  NameIndex Transitions;
  std::vector<int> TimedOnLine;  // per transition; 0 while not timed
};

std::optional<Diagnostic> TimingParser::apply(const WordLine& line) {
  const std::vector<Word>& words = line.words;
  std::string problem;
  const std::optional<int> index = Transitions.find(words[0].text, problem);
  if (!index) {
    return at(line, 0, problem);
  }
  if (TimedOnLine[*index] != 0) {
    return at(line, 0,
              "transition '" + words[0].text + "' is already timed on line " +
                  std::to_string(TimedOnLine[*index]));
  }
  TimedOnLine[*index] = line.number;
  if (words.size() < 2) {
    return at(line, 0, "expected exponential, immediate or deterministic after the transition");
  }
  NetDescription::TransitionEntry& entry = Net.transitions[*index];
  const std::string& kind = words[1].text;
  if (kind == "exponential") {
    return single(line, entry, Exponential, "rate");
  }
  if (kind == "deterministic") {
    return single(line, entry, Deterministic, "delay");
  }
  if (kind == "immediate") {
    return immediate(line, entry);
  }
  return at(line, 1,
            "unknown timing '" + kind + "'; expected exponential, immediate or deterministic");
}

std::optional<Diagnostic> TimingParser::single(const WordLine& line,
                                               NetDescription::TransitionEntry& entry,
                                               Distribution distribution, const std::string& what) {
  const std::vector<Word>& words = line.words;
  if (words.size() < 3) {
    return at(line, 1, words[1].text + " needs a " + what);
  }
  if (words.size() > 3) {
    return at(line, 3, "unexpected '" + words[3].text + "' after the " + what);
  }
  const std::optional<double> value = parseNumber(words[2].text);
  if (!value || *value <= 0) {
    return at(line, 2, "the " + what + " '" + words[2].text + "' is not a positive number");
  }
  entry.distribution = distribution;
  entry.parameter = *value;
  return std::nullopt;
}

std::optional<Diagnostic> TimingParser::immediate(const WordLine& line,
                                                  NetDescription::TransitionEntry& entry) {
  entry.distribution = Instantaneous;
  entry.weight = 1.0;
  entry.priority = 1;
  bool seen[2] = {false, false};  // weight, priority
  for (std::size_t k = 2; k < line.words.size(); k += 2) {
    const std::string& option = line.words[k].text;
    const bool isWeight = option == "weight";
    if (!isWeight && option != "priority") {
      return at(line, k, "unexpected '" + option + "'; expected weight or priority");
    }
    if (seen[isWeight ? 0 : 1]) {
      return at(line, k, option + " is given twice");
    }
    seen[isWeight ? 0 : 1] = true;
    if (std::optional<Diagnostic> problem = immediateOption(line, k, entry)) {
      return problem;
    }
  }
  return std::nullopt;
}

std::optional<Diagnostic> TimingParser::immediateOption(const WordLine& line, std::size_t k,
                                                        NetDescription::TransitionEntry& entry) {
  const std::string& option = line.words[k].text;
  if (k + 1 >= line.words.size()) {
    return at(line, k, option + " needs a value");
  }
  const std::string& text = line.words[k + 1].text;
  const std::optional<double> value = parseNumber(text);
  if (option == "weight") {
    if (!value || *value <= 0) {
      return at(line, k + 1, "the weight '" + text + "' is not a positive number");
    }
    entry.weight = *value;
    return std::nullopt;
  }
  if (!value || *value < 1 || *value > net_limits::kMaxPriority || *value != std::floor(*value)) {
    return at(line, k + 1,
              "the priority '" + text + "' is not a whole number from 1 to " +
                  std::to_string(net_limits::kMaxPriority));
  }
  entry.priority = static_cast<int>(*value);
  return std::nullopt;
}

}  // namespace

ReadResult<NetDescription> parseTimings(const std::string& text, const std::string& fileName,
                                        NetDescription net) {
  TimingParser parser(fileName, net);
  for (const WordLine& line : splitWordLines(text)) {
    if (std::optional<Diagnostic> problem = parser.apply(line)) {
      return ReadResult<NetDescription>::failure(std::move(*problem));
    }
  }
  return ReadResult<NetDescription>::success(std::move(net));
}

ReadResult<NetDescription> readTimingFile(const std::string& path, NetDescription net) {
  ReadResult<std::string> text = readFileText(path, net_limits::kMaxLineFileBytes);
  if (!text.ok()) {
    return ReadResult<NetDescription>::failure(text.error);
  }
  return parseTimings(*text.value, path, std::move(net));
}
