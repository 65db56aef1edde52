#include "solver/RunFiles.h"

#include <algorithm>
#include <filesystem>
#include <future>
#include <utility>

namespace solver {

namespace {

bool exists(const std::string& name) {
  std::error_code error;
  return std::filesystem::exists(name, error);
}

// The states that enable a deterministic delay, ascending. (Not a flag per
// state: the count of states comes from the .arm file's header, which has
// not shown yet that the records are there.)
std::vector<std::uint32_t> deterministicStates(const std::vector<DelayEnabling>& delays) {
  std::vector<std::uint32_t> states;
  for (const DelayEnabling& entry : delays) {
    states.insert(states.end(), entry.states.begin(), entry.states.end());
  }
  std::sort(states.begin(), states.end());
  states.erase(std::unique(states.begin(), states.end()), states.end());
  return states;
}

std::vector<std::string> namesOf(const std::vector<RewardVariable>& variables) {
  std::vector<std::string> names;
  for (const RewardVariable& variable : variables) {
    names.push_back(variable.name);
  }
  return names;
}

// The data of a successful read; throws the diagnostic of a failed one.
template <class T>
T checked(Parsed<T>&& read) {
  if (!read.ok()) {
    throw InputError(read.error());
  }
  return std::move(read.value());
}

}  // namespace

std::string RunFiles::describeState(std::uint32_t state) const {
  const std::string number = "state " + std::to_string(state);
  return markings ? number + " (" + markings->describe(state) + ")" : number;
}

Parsed<RunFiles> readRun(const std::string& base) {
  RunFiles run;
  run.base = base;
  try {
    run.variables = checked(readRewardTypeFile(run.fileName(".pvtype")));
    const std::uint32_t numStates = checked(readStateCountOfFile(run.fileName(".arm")));
    if (exists(run.fileName(".det"))) {
      run.delays = checked(readDelayFile(run.fileName(".det"), numStates));
    }
    const std::vector<std::uint32_t> deterministic =
        run.delays ? deterministicStates(*run.delays) : std::vector<std::uint32_t>();
    // The two largest files are read at once, on two threads.
    auto rewards = std::async(std::launch::async, readStateRewardFile, run.fileName(".var"),
                              namesOf(run.variables), numStates);
    run.space = checked(readStateSpaceFile(run.fileName(".arm"), deterministic));
    run.rewards = checked(rewards.get());
    if (exists(run.fileName(".firings"))) {
      if (!run.delays) {
        throw InputError(
            {run.fileName(".firings"), 0, "deterministic firings without a .det file"});
      }
      run.firings = checked(readFiringFile(run.fileName(".firings"), numStates));
    }
    if (exists(run.fileName(".imp"))) {
      run.impulses =
          checked(readImpulseFile(run.fileName(".imp"), namesOf(run.variables), numStates));
    }
    if (exists(run.fileName(".states"))) {
      run.markings = checked(readMarkingFile(run.fileName(".states"), numStates));
    }
  } catch (const InputError& error) {
    return error.diagnostic();
  }
  return run;
}

}  // namespace solver
