// study: one command from a model to its results table, charts and report.
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "compiler/FrontEnd.h"
#include "study/ExperimentRunner.h"
#include "study/ModelBuild.h"
#include "study/Report.h"
#include "study/ResultsTable.h"
#include "study/StudyCharts.h"
#include "study/StudyOptions.h"
#include "study/StudyPlan.h"

namespace fs = std::filesystem;

namespace {

int refuse(const std::string& message) {
  std::cerr << "study: " << message << std::endl;
  return 1;
}

// A description or a file it imports from; nullopt when it cannot be read
// or is larger than the front end takes.
std::optional<std::string> readSource(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::string text(sanc::kMaxSourceSize + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad() || static_cast<std::size_t>(in.gcount()) > sanc::kMaxSourceSize) {
    return std::nullopt;
  }
  text.resize(static_cast<std::size_t>(in.gcount()));
  return text;
}

// The experiments to run: the description's study with the command line's
// sweeps, or a net's one experiment.
std::optional<study::StudyPlan> planOf(const study::StudyOptions& options) {
  if (options.isNet) {
    return study::planNetStudy();
  }
  const std::optional<std::string> source = readSource(options.model);
  if (!source) {
    refuse("cannot read " + options.model);
    return std::nullopt;
  }
  sanc::Diagnostics diagnostics(options.model);
  const std::optional<sanc::Model> model = sanc::compileModel(*source, diagnostics, readSource);
  for (const sanc::Diagnostic& diagnostic : diagnostics.errors()) {
    std::cerr << diagnostics.format(diagnostic) << std::endl;
  }
  if (!model) {
    return std::nullopt;
  }
  std::string problem;
  std::optional<study::StudyPlan> plan =
      study::planDescribedStudy(*model, options.assignments, problem);
  if (!plan) {
    refuse(problem);
  }
  return plan;
}

// The model's program and its own arguments; builds it unless given.
std::optional<std::vector<std::string>> modelCommand(const study::StudyOptions& options) {
  const study::BuildProgram program = options.isNet
                                          ? study::programForNet()
                                          : study::programForDescription(options.model);
  std::vector<std::string> command{program.executable};
  if (!options.executable.empty()) {
    command.front() = options.executable;
  } else {
    const std::string failed = study::buildPrograms(
        program, options.jobs, (fs::path(options.folder) / "build.log").string());
    if (!failed.empty()) {
      refuse(failed);
      return std::nullopt;
    }
  }
  if (access(command.front().c_str(), X_OK) != 0) {
    refuse(command.front() + ": no such program");
    return std::nullopt;
  }
  // Which activity each delayed firing belongs to, and (where the state is
  // places only) the markings, let solve tell delays apart and name states
  // in its messages; the usual files are the same with them.
  command.push_back("-D");
  if (!options.isNet) {
    command.push_back("-M");
  } else {
    command.insert(command.end(), {"-m", options.model});
    if (!options.timing.empty()) command.insert(command.end(), {"-r", options.timing});
    if (!options.rewards.empty()) command.insert(command.end(), {"-w", options.rewards});
  }
  return command;
}

// Experiments done of the total and the time since the start, on standard
// error: one line rewritten on a terminal, a line per change elsewhere.
class Progress {
 public:
  explicit Progress(std::size_t total)
      : Total(total), Start(std::chrono::steady_clock::now()), Terminal(isatty(2) != 0) {}

  // Clears the line before something else is printed.
  void clear() {
    if (Terminal && Shown) {
      std::cerr << "\r\033[K" << std::flush;
      Shown = false;
    }
  }
  void show(std::size_t done, std::size_t failed) {
    const long seconds = static_cast<long>(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count());
    char elapsed[32];
    std::snprintf(elapsed, sizeof elapsed, "%ld:%02ld", seconds / 60, seconds % 60);
    std::cerr << (Terminal ? "\r" : "") << "study: " << done << " of " << Total << " done"
              << (failed > 0 ? ", " + std::to_string(failed) + " failed" : "") << ", " << elapsed
              << " elapsed" << (Terminal ? "" : "\n") << std::flush;
    Shown = true;
  }

 private:
  std::size_t Total;
  std::chrono::steady_clock::time_point Start;
  bool Terminal;
  bool Shown = false;
};

// Writes text to path through a temporary name; false when it cannot.
bool writeFile(const fs::path& path, const std::string& text) {
  const fs::path temporary = path.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      fs::remove(temporary);
      return false;
    }
  }
  std::error_code error;
  fs::rename(temporary, path, error);
  return !error;
}

std::string commandLine(int argc, char** argv) {
  std::string line;
  for (int i = 0; i < argc; i++) {
    const std::string word = argv[i];
    const bool plain = !word.empty() && word.find_first_of(" \t\"'$\\;&|<>*?()") == std::string::npos;
    line += (i == 0 ? "" : " ") + (plain ? word : "'" + word + "'");
  }
  return line;
}

// Writes the CSV, the charts and the report; false when one cannot be written.
bool writeResults(const study::StudyOptions& options, const study::StudyPlan& plan,
                  const study::ResultsTable& table, const std::string& command) {
  const fs::path folder(options.folder);
  std::ostringstream csv;
  table.writeCsv(csv);
  bool written = writeFile(folder / "results.csv", csv.str());
  const std::vector<study::StudyChart> charts = study::drawCharts(plan, table, options.labels);
  for (const study::StudyChart& drawn : charts) {
    std::ostringstream svg;
    drawn.chart.writeSvg(svg);
    written = writeFile(folder / drawn.file, svg.str()) && written;
  }
  std::ostringstream html;
  study::writeReport(html,
                     {"Study of " + fs::path(options.model).stem().string(), command}, table,
                     charts);
  written = writeFile(folder / "report.html", html.str()) && written;
  std::size_t reused = 0;
  for (const std::optional<study::Outcome>& outcome : table.outcomes()) {
    reused += outcome && outcome->reused ? 1 : 0;
  }
  if (reused > 0) {
    std::cerr << "study: " << reused << " of " << table.outcomes().size()
              << " experiments reused from an earlier run" << std::endl;
  }
  std::cerr << "study: wrote " << (folder / "results.csv").string() << ", " << charts.size()
            << (charts.size() == 1 ? " chart" : " charts") << " and "
            << (folder / "report.html").string() << std::endl;
  return written;
}

int runStudy(int argc, char** argv) {
  std::string problem;
  const std::optional<study::StudyOptions> options =
      study::parseStudyOptions(argc, argv, problem);
  if (!options) {
    return refuse(problem + "\n" + study::kUsage);
  }
  if (options->help) {
    std::cout << study::kUsage;
    return 0;
  }
  const std::optional<study::StudyPlan> plan = planOf(*options);
  if (!plan) {
    return 1;
  }
  std::error_code error;
  fs::create_directories(options->folder, error);
  if (error) {
    return refuse("cannot create " + options->folder + ": " + error.message());
  }
  const std::optional<std::vector<std::string>> model = modelCommand(*options);
  if (!model) {
    return 1;
  }
  study::ExperimentRunner runner({*model, study::programForSolver().executable,
                                  options->solverArguments, options->folder, options->jobs});
  study::ResultsTable table(*plan);
  Progress progress(plan->experiments.size());
  std::size_t done = 0, failed = 0;
  progress.show(0, 0);
  runner.run(plan->experiments, [&](std::size_t index, const study::Outcome& outcome) {
    table.record(index, outcome);
    done++;
    progress.clear();
    if (!outcome.succeeded) {
      failed++;
      std::cerr << "study: experiment " << plan->experiments[index].number
                << " failed: " << outcome.message << std::endl;
    }
    table.printReady(std::cout, false);
    progress.show(done, failed);
  });
  progress.clear();
  table.printReady(std::cout, true);
  if (!writeResults(*options, *plan, table, commandLine(argc, argv))) {
    return refuse("cannot write the results in " + options->folder);
  }
  if (failed > 0) {
    return refuse(std::to_string(failed) + " of " + std::to_string(plan->experiments.size()) +
                  " experiments failed");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that stops early (| head) must not cost the files still to be
  // written: a closed standard output then only loses the table's rows.
  std::signal(SIGPIPE, SIG_IGN);
  return runStudy(argc, argv);
}
