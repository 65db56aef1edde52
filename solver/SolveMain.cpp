// solve: the expected rate rewards of one generator run, from its files.
#include <getopt.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "solver/Solve.h"

namespace {

const char kUsage[] =
    "usage: solve [-e bound] [-t times] [-s] [-k phases] [-m steps] (base | -Ppath -Nname)\n"
    "  base          the run's files without their suffixes (out/exp1 for out/exp1.arm ...)\n"
    "  -P, -N        path and name as given to gen: base is path followed by name\n"
    "  -e bound      absolute error bound of each value (default 1e-10)\n"
    "  -t times      comma-separated time points, instead of the reward variables' own\n"
    "  -s            also the values in the long run (t = infinity)\n"
    "  -k phases     most phases per deterministic delay (default 1024)\n"
    "  -m steps      most iterations of one computation (default 100000000)\n";

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

solver::SolveOptions readOptions(int argc, char** argv) {
  solver::SolveOptions options;
  std::string path;
  std::string name;
  bool named = false;
  bool pathGiven = false;
  opterr = 0;
  for (int option; (option = getopt(argc, argv, ":e:t:sk:m:P:N:h")) != -1;) {
    switch (option) {
      case 'e':
        if (!readNumber(optarg, options.epsilon) || !(options.epsilon > 0 && options.epsilon < 1)) {
          refuseValue('e', optarg, "a number between 0 and 1");
        }
        break;
      case 't':
        options.times = readTimes(optarg);
        break;
      case 's':
        options.longRun = true;
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
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const solver::SolveOptions options = readOptions(argc, argv);
  const solver::Parsed<solver::Solution> solution = solver::solve(options);
  if (!solution.ok()) {
    refuse(solution.error().text());
  }
  solver::printSolution(solution.value(), std::cout);
  if (!solution.value().withinBound) {
    std::cout.flush();
    std::ostringstream bound;
    bound << options.epsilon;
    refuse(options.base + ": the error bound " + bound.str() +
           " was not reached; the values above carry the errors reached");
  }
  return 0;
}
