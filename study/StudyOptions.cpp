#include "study/StudyOptions.h"

#include <getopt.h>

#include <cmath>
#include <filesystem>
#include <thread>

namespace study {

const char kUsage[] =
    "usage: study [options] model.san\n"
    "       study [options] net.pnml [-r timing] [-w rewards]\n"
    "Builds the model if needed, runs and solves every experiment of its study and\n"
    "writes results.csv, a chart per reward variable and report.html.\n"
    "  -o folder              output folder (default out/<model name>)\n"
    "  -j jobs                experiments at a time (default one per core)\n"
    "  --set name=value       fix a global variable\n"
    "  --vary name=first:step:last, --vary name=v1,v2,...\n"
    "                         sweep a global variable; the sweeps replace the study\n"
    "  -r file, -w file       a net's timing and reward files\n"
    "  -e bound, -t times, -s solve's error bound, time points, long run\n"
    "  --label name=text      what a reward variable means, for the charts' titles\n"
    "  --executable file      run this model executable and build nothing\n";

namespace {

enum LongOption { kSet = 256, kVary, kLabel, kExecutable };

bool validTimes(const std::string& text) {
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find(',', start);
    end = end == std::string::npos ? text.size() : end;
    const std::optional<double> time = numberOf(text.substr(start, end - start));
    if (!time || *time < 0) {
      return false;
    }
    start = end + 1;
  }
  return true;
}

std::string optionText(int option, const char* value) {
  const std::string name = option == kSet    ? "--set"
                           : option == kVary  ? "--vary"
                           : option == kLabel ? "--label"
                           : option == kExecutable
                               ? "--executable"
                               : std::string("-") + static_cast<char>(option);
  return name + " " + value;
}

// Reads one option with its value; false with problem set when it is wrong.
bool readOption(int option, const char* value, StudyOptions& options, std::string& problem) {
  // Options without a value (-s) come with none.
  const double number = value != nullptr ? numberOf(value).value_or(NAN) : NAN;
  switch (option) {
    case 'o':
      options.folder = value;
      return true;
    case 'j':
      if (!(number >= 1 && number <= 256) || number != std::floor(number)) {
        problem = optionText(option, value) + ": the jobs are a whole number from 1 to 256";
        return false;
      }
      options.jobs = static_cast<unsigned>(number);
      return true;
    case kSet:
    case kVary: {
      std::optional<SweepAssignment> assignment =
          parseSweepAssignment(optionText(option, value), value, option == kVary, problem);
      if (!assignment) {
        problem = optionText(option, value) + ": " + problem;
        return false;
      }
      options.assignments.push_back(std::move(*assignment));
      return true;
    }
    case kLabel: {
      const std::string text = value;
      const std::size_t equals = text.find('=');
      if (equals == 0 || equals == std::string::npos) {
        problem = optionText(option, value) + ": variable=text expected";
        return false;
      }
      options.labels[text.substr(0, equals)] = text.substr(equals + 1);
      return true;
    }
    case kExecutable:
      options.executable = value;
      return true;
    case 'r':
      options.timing = value;
      return true;
    case 'w':
      options.rewards = value;
      return true;
    case 'e':
      if (!(number > 0 && number < 1)) {
        problem = optionText(option, value) + ": the error bound is a number between 0 and 1";
        return false;
      }
      options.solverArguments.insert(options.solverArguments.end(), {"-e", value});
      return true;
    case 't':
      if (!validTimes(value)) {
        problem = optionText(option, value) + ": a comma-separated list of times of at least 0";
        return false;
      }
      options.solverArguments.insert(options.solverArguments.end(), {"-t", value});
      return true;
    case 's':
      options.solverArguments.push_back("-s");
      return true;
    default:
      problem = "unknown option";
      return false;
  }
}

// The model's kind from its file name, and the options that go with it.
bool checkModel(StudyOptions& options, std::string& problem) {
  const std::filesystem::path path(options.model);
  const std::string extension = path.extension().string();
  if (extension != ".san" && extension != ".pnml") {
    problem = options.model + ": a model description (.san) or a net (.pnml) expected";
    return false;
  }
  options.isNet = extension == ".pnml";
  if (!std::filesystem::is_regular_file(path)) {
    problem = options.model + ": there is no such file";
    return false;
  }
  if (!options.isNet && (!options.timing.empty() || !options.rewards.empty())) {
    problem = "-r and -w give a net's timing and reward files; " + options.model + " is no net";
    return false;
  }
  if (options.isNet && !options.assignments.empty()) {
    problem = options.assignments.front().option + ": a net has no global variables";
    return false;
  }
  if (options.folder.empty()) {
    options.folder = (std::filesystem::path("out") / path.stem()).string();
  }
  return true;
}

}  // namespace

std::optional<StudyOptions> parseStudyOptions(int argc, char** argv, std::string& problem) {
  static const option kLong[] = {{"set", required_argument, nullptr, kSet},
                                 {"vary", required_argument, nullptr, kVary},
                                 {"label", required_argument, nullptr, kLabel},
                                 {"executable", required_argument, nullptr, kExecutable},
                                 {"help", no_argument, nullptr, 'h'},
                                 {nullptr, 0, nullptr, 0}};
  StudyOptions options;
  options.jobs = std::max(1u, std::thread::hardware_concurrency());
  opterr = 0;
  optind = 1;
  for (int option; (option = getopt_long(argc, argv, ":o:j:r:w:e:t:sh", kLong, nullptr)) != -1;) {
    if (option == 'h') {
      options.help = true;
      return options;
    }
    if (option == ':' || option == '?') {
      const std::string name = optopt > 0 && optopt < 256 ? std::string("-") + static_cast<char>(optopt)
                                                          : std::string(argv[optind - 1]);
      problem = option == ':' ? "option " + name + " needs a value"
                              : "unknown option " + name;
      return std::nullopt;
    }
    if (!readOption(option, optarg, options, problem)) {
      return std::nullopt;
    }
  }
  if (optind + 1 != argc) {
    problem = optind == argc ? "no model given" : "give one model";
    return std::nullopt;
  }
  options.model = argv[optind];
  if (!checkModel(options, problem)) {
    return std::nullopt;
  }
  return options;
}

}  // namespace study
