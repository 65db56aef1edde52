#include "study/ExperimentRunner.h"

#include <sys/wait.h>

#include <cerrno>
#include <filesystem>

#include "study/Process.h"
#include "study/Stamp.h"

namespace study {

namespace fs = std::filesystem;

namespace {

// Removes an experiment's files, so that none of an earlier run (a .det of
// a model that no longer has delays, say) is read as this run's.
void removeFiles(const std::string& prefix) {
  const fs::path pattern(prefix);
  const std::string start = pattern.filename().string();
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(pattern.parent_path(), error)) {
    if (entry.path().filename().string().compare(0, start.size(), start) == 0) {
      fs::remove(entry.path(), error);
    }
  }
}

std::string digestOrNone(const std::string& path) {
  return fileDigest(path).value_or("unreadable");
}

}  // namespace

ExperimentRunner::ExperimentRunner(RunSetup setup)
    : Setup(std::move(setup)),
      ModelDigest(digestOrNone(Setup.model.front())),
      SolverDigest(digestOrNone(Setup.solver)) {}

std::string ExperimentRunner::prefixOf(const Experiment& experiment) const {
  return (fs::path(Setup.folder) / ("exp" + std::to_string(experiment.number) + ".")).string();
}

std::vector<std::string> ExperimentRunner::generatorCommand(const Experiment& experiment) const {
  std::vector<std::string> command = Setup.model;
  command.push_back("-P" + (fs::path(Setup.folder) / "").string());
  command.push_back("-Nexp" + std::to_string(experiment.number));
  command.insert(command.end(), experiment.arguments.begin(), experiment.arguments.end());
  return command;
}

std::string ExperimentRunner::inputsOf(const Experiment& experiment) const {
  std::string inputs = "generator " + ModelDigest + "\n";
  for (const std::string& word : generatorCommand(experiment)) {
    inputs += "  " + word + "\n";
  }
  inputs += "solver " + SolverDigest + "\n  " + Setup.solver + "\n";
  for (const std::string& word : Setup.solverArguments) {
    inputs += "  " + word + "\n";
  }
  return inputs;
}

Outcome ExperimentRunner::readOutcome(const Experiment& experiment, const std::string& end) const {
  const std::string prefix = prefixOf(experiment);
  const std::string log = readWholeFile(prefix + "log");
  Outcome outcome;
  outcome.states = readStateCount(log).value_or("");
  std::optional<std::vector<Measure>> measures = readSolveTable(readWholeFile(prefix + "solution"));
  if (measures) {
    outcome.measures = std::move(*measures);
  }
  if (!end.empty()) {
    // solve's messages go to the log after the generator's console.
    const std::string said = lastLine(log);
    outcome.message = (said.compare(0, 6, "solve:") == 0 ? said : "solve: " + end) + " (see " +
                      prefix + "log)";
  } else if (!measures || outcome.states.empty()) {
    outcome.message = "the run's table or state count cannot be read (see " + prefix + "log)";
  } else {
    outcome.succeeded = true;
  }
  return outcome;
}

void ExperimentRunner::start(std::size_t index, const std::vector<Experiment>& experiments,
                             const Report& report) {
  const Experiment& experiment = experiments[index];
  const std::string prefix = prefixOf(experiment);
  removeFiles(prefix);
  std::string problem;
  const pid_t pid = startProcess(generatorCommand(experiment), prefix + "log", false, problem);
  if (pid < 0) {
    Outcome failed;
    failed.message = problem;
    report(index, failed);
    return;
  }
  Running[pid] = {index, false};
}

void ExperimentRunner::finishStep(const Job& job, int status,
                                  const std::vector<Experiment>& experiments,
                                  const Report& report) {
  const Experiment& experiment = experiments[job.index];
  const std::string prefix = prefixOf(experiment);
  const std::string end = describeEnd(status);
  if (job.solving) {
    const Outcome outcome = readOutcome(experiment, end);
    if (outcome.succeeded) {
      Stamp::ofFiles(prefix, inputsOf(experiment)).write(prefix + "stamp");
    }
    report(job.index, outcome);
    return;
  }
  Outcome failed;
  if (end.empty()) {
    std::vector<std::string> command{Setup.solver};
    command.insert(command.end(), Setup.solverArguments.begin(), Setup.solverArguments.end());
    command.push_back(prefix.substr(0, prefix.size() - 1));
    const pid_t pid = startProcess(command, prefix + "solution", prefix + "log", failed.message);
    if (pid >= 0) {
      Running[pid] = {job.index, true};
      return;
    }
  } else {
    const std::string said = lastLine(readWholeFile(prefix + "log"));
    failed.message = (said.empty() ? "" : said + " ") + "(the generator's " + end + "; see " +
                     prefix + "log)";
  }
  report(job.index, failed);
}

void ExperimentRunner::run(const std::vector<Experiment>& experiments, const Report& report) {
  std::vector<std::size_t> queue;
  for (std::size_t i = 0; i < experiments.size(); i++) {
    const std::string prefix = prefixOf(experiments[i]);
    const std::optional<Stamp> stamp = Stamp::read(prefix + "stamp");
    if (stamp && stamp->matches(inputsOf(experiments[i]))) {
      Outcome outcome = readOutcome(experiments[i], "");
      if (outcome.succeeded) {
        outcome.reused = true;
        report(i, outcome);
        continue;
      }
    }
    queue.push_back(i);
  }
  std::size_t next = 0;
  while (next < queue.size() || !Running.empty()) {
    while (Running.size() < std::max(Setup.jobs, 1u) && next < queue.size()) {
      start(queue[next++], experiments, report);
    }
    if (Running.empty()) {
      continue;
    }
    int status = 0;
    const pid_t pid = waitpid(-1, &status, 0);
    if (pid < 0) {
      if (errno == ECHILD) {
        // Someone else reaped them: their ends are lost.
        for (const auto& [lost, job] : Running) {
          Outcome failed;
          failed.message = "the run's end could not be awaited";
          report(job.index, failed);
        }
        Running.clear();
      }
      continue;
    }
    const auto found = Running.find(pid);
    if (found == Running.end()) {
      continue;
    }
    const Job job = found->second;
    Running.erase(found);
    finishStep(job, status, experiments, report);
  }
}

}  // namespace study
