// solve: the values of the reward variables of one generator run, from its files.
#include <getopt.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

#include "solver/Progress.h"
#include "solver/Report.h"
#include "solver/Solve.h"

namespace {

const char kUsage[] =
    "usage: solve [-e bound] [-r share] [-t times] [-s] [-d] [-c file] [-k phases] [-m steps]\n"
    "             [-j threads] (base | -Ppath -Nname)\n"
    "  base          the run's files without their suffixes (out/exp1 for out/exp1.arm ...)\n"
    "  -P, -N        path and name as given to gen: base is path followed by name\n"
    "  -e bound      absolute error bound of each value (default 1e-10)\n"
    "  -r share      relative error bound: each value within this share of itself,\n"
    "                the absolute bound as a floor\n"
    "  -t times      comma-separated time points, instead of the reward variables' own\n"
    "                (intervals [0, t] for interval variables)\n"
    "  -s            also the values in the long run (t = infinity)\n"
    "  -d            every significant digit of the values\n"
    "  -c file       also write the values to file as CSV (variable,time,value,error)\n"
    "  -k phases     most phases per deterministic delay (default 1024)\n"
    "  -m steps      most iterations of one computation (default 100000000)\n"
    "  -j threads    threads for the products of large chains (default: 2 where there are)\n";

// Below this a relative bound cannot be met by sums of thousands of terms.
const double kLeastRelative = 1e-14;

extern "C" void onStopSignal(int signal) {
  solver::Progress::requestStop();
  // A second signal ends the run at once.
  std::signal(signal, SIG_DFL);
}

[[noreturn]] void refuse(const std::string& message) {
  std::cerr << "solve: " << message << std::endl;
  std::exit(1);
}

[[noreturn]] void refuseValue(char option, const char* value, const char* wanted) {
  refuse(std::string("option -") + option + ": \"" + value + "\" is not " + wanted);
}

// The whole of text as a finite number, or false.
bool readNumber(const std::string& text, double& value) {
  const char* end = text.data() + text.size();
  const std::from_chars_result result = std::from_chars(text.data(), end, value);
  return !text.empty() && result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool readWhole(const char* text, unsigned long long& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtoull(text, &end, 10);
  return text[0] >= '0' && text[0] <= '9' && *end == '\0' && errno == 0;
}

std::vector<double> readTimes(const char* text) {
  std::vector<double> times;
  const std::string list = text;
  for (std::size_t start = 0; start <= list.size();) {
    std::size_t end = list.find(',', start);
    end = end == std::string::npos ? list.size() : end;
    double time = 0;
    if (!readNumber(list.substr(start, end - start), time) || time < 0) {
      refuseValue('t', text, "a comma-separated list of times of at least 0");
    }
    times.push_back(time);
    start = end + 1;
  }
  return times;
}

unsigned long long readCount(char option, const char* text, unsigned long long least,
                             unsigned long long most) {
  unsigned long long value = 0;
  if (!readWhole(text, value) || value < least || value > most) {
    refuseValue(
        option, text,
        ("a whole number from " + std::to_string(least) + " to " + std::to_string(most)).c_str());
  }
  return value;
}

struct Command {
  solver::SolveOptions options;
  bool allDigits = false;
  std::string csv;
};

Command readOptions(int argc, char** argv) {
  Command command;
  solver::SolveOptions& options = command.options;
  options.threads = std::max(1u, std::min(2u, std::thread::hardware_concurrency()));
  std::string path;
  std::string name;
  bool named = false;
  bool pathGiven = false;
  opterr = 0;
  for (int option; (option = getopt(argc, argv, ":e:r:t:sdc:k:m:j:P:N:h")) != -1;) {
    switch (option) {
      case 'e':
        if (!readNumber(optarg, options.epsilon) || !(options.epsilon > 0 && options.epsilon < 1)) {
          refuseValue('e', optarg, "a number between 0 and 1");
        }
        break;
      case 'r':
        if (!readNumber(optarg, options.relative) ||
            !(options.relative >= kLeastRelative && options.relative < 1)) {
          refuseValue('r', optarg, "a number from 1e-14 (what double precision can reach) to 1");
        }
        break;
      case 't':
        options.times = readTimes(optarg);
        break;
      case 's':
        options.longRun = true;
        break;
      case 'd':
        command.allDigits = true;
        break;
      case 'c':
        command.csv = optarg;
        break;
      case 'j':
        options.threads = static_cast<unsigned>(readCount('j', optarg, 1, 64));
        break;
      case 'k':
        options.maxPhases = static_cast<unsigned int>(readCount('k', optarg, 2, 1u << 20));
        break;
      case 'm':
        options.maxSteps = readCount('m', optarg, 1, 1ull << 40);
        break;
      case 'P':
        path = optarg;
        pathGiven = true;
        break;
      case 'N':
        name = optarg;
        named = true;
        break;
      case 'h':
        std::cout << kUsage;
        std::exit(0);
      case ':':
        refuse(std::string("option -") + static_cast<char>(optopt) + " needs a value\n" + kUsage);
      default:
        refuse(std::string("unknown option -") + static_cast<char>(optopt) + "\n" + kUsage);
    }
  }
  if (optind < argc) {
    // -P or -N beside a base path would be ignored: say so rather than guess.
    if (named || pathGiven || optind + 1 < argc) {
      refuse("give one base path, or -P and -N\n" + std::string(kUsage));
    }
    options.base = argv[optind];
  } else if (named) {
    options.base = path + name;
  } else {
    refuse("no run given\n" + std::string(kUsage));
  }
  return command;
}

// Writes the CSV under a temporary name beside file and renames it into
// place, so that a failed write leaves no partial table under its name.
void writeCsvFile(const solver::Solution& solution, const std::string& file) {
  const std::string temporary = file + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    solver::writeCsv(solution, out);
    out.flush();
    if (!out) {
      std::remove(temporary.c_str());
      refuse("option -c: cannot write " + file);
    }
  }
  if (std::rename(temporary.c_str(), file.c_str()) != 0) {
    const std::string why = std::strerror(errno);
    std::remove(temporary.c_str());
    refuse("option -c: cannot write " + file + ": " + why);
  }
}

}  // namespace

int main(int argc, char** argv) {
  Command command = readOptions(argc, argv);
  solver::Progress progress(&std::cerr);
  command.options.progress = &progress;
  std::signal(SIGINT, onStopSignal);
  std::signal(SIGTERM, onStopSignal);
  const solver::Parsed<solver::Solution> solution = solver::solve(command.options);
  if (!solution.ok()) {
    refuse(solution.error().text());
  }
  solver::printSolution(solution.value(), std::cout, command.allDigits);
  std::cout.flush();
  if (!command.csv.empty()) {
    writeCsvFile(solution.value(), command.csv);
  }
  // Each variable refused, then whether the values are short of the bound.
  for (const solver::Diagnostic& refused : solution.value().refused) {
    std::cerr << "solve: " << refused.text() << "\n";
  }
  bool failed = !solution.value().refused.empty();
  if (solution.value().stopped) {
    std::cerr << "solve: " << command.options.base
              << ": stopped on request; the values above carry the bounds reached\n";
    failed = true;
  } else if (!solution.value().withinBound) {
    std::cerr << "solve: " << command.options.base << ": the error bound "
              << solution.value().epsilon
              << " was not reached; the values above carry the errors reached\n";
    failed = true;
  }
  return failed ? 1 : 0;
}
