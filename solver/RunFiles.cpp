#include "solver/RunFiles.h"

#include <filesystem>
#include <utility>

namespace solver {

namespace {

bool exists(const std::string& name) {
  std::error_code error;
  return std::filesystem::exists(name, error);
}

// Which states enable a deterministic delay, by state number.
std::vector<bool> deterministicStates(const std::vector<DelayEnabling>& delays,
                                      std::uint32_t numStates) {
  std::vector<bool> marked(numStates + std::size_t(1), false);
  for (const DelayEnabling& entry : delays) {
    for (std::uint32_t state : entry.states) {
      marked[state] = true;
    }
  }
  return marked;
}

std::vector<std::string> namesOf(const std::vector<RewardVariable>& variables) {
  std::vector<std::string> names;
  for (const RewardVariable& variable : variables) {
    names.push_back(variable.name);
  }
  return names;
}

// Moves the value of a successful read into target; false with problem set
// otherwise.
template <class T>
bool take(Parsed<T>&& read, T& target, Diagnostic& problem) {
  if (!read.ok()) {
    problem = read.error();
    return false;
  }
  target = std::move(read.value());
  return true;
}

template <class T>
bool takeOptional(Parsed<T>&& read, std::optional<T>& target, Diagnostic& problem) {
  T value;
  if (!take(std::move(read), value, problem)) {
    return false;
  }
  target = std::move(value);
  return true;
}

bool readOptionalFiles(RunFiles& run, Diagnostic& problem) {
  const std::uint32_t numStates = run.space.numStates;
  if (exists(run.fileName(".firings"))) {
    if (!run.delays) {
      problem = {run.fileName(".firings"), 0, "deterministic firings without a .det file"};
      return false;
    }
    if (!takeOptional(readFiringFile(run.fileName(".firings"), numStates), run.firings, problem)) {
      return false;
    }
  }
  return !exists(run.fileName(".states")) ||
         takeOptional(readMarkingFile(run.fileName(".states"), numStates), run.markings, problem);
}

}  // namespace

std::string RunFiles::describeState(std::uint32_t state) const {
  const std::string number = "state " + std::to_string(state);
  return markings ? number + " (" + markings->describe(state) + ")" : number;
}

Parsed<RunFiles> readRun(const std::string& base) {
  RunFiles run;
  run.base = base;
  Diagnostic problem;
  std::uint32_t numStates = 0;
  if (!take(readRewardTypeFile(run.fileName(".pvtype")), run.variables, problem) ||
      !take(readStateCountOfFile(run.fileName(".arm")), numStates, problem)) {
    return problem;
  }
  if (exists(run.fileName(".det")) &&
      !takeOptional(readDelayFile(run.fileName(".det"), numStates), run.delays, problem)) {
    return problem;
  }
  const std::vector<bool> deterministic =
      run.delays ? deterministicStates(*run.delays, numStates) : std::vector<bool>();
  if (!take(readStateSpaceFile(run.fileName(".arm"), deterministic), run.space, problem) ||
      !take(readStateRewardFile(run.fileName(".var"), namesOf(run.variables), numStates),
            run.rewards, problem) ||
      !readOptionalFiles(run, problem)) {
    return problem;
  }
  return run;
}

}  // namespace solver
