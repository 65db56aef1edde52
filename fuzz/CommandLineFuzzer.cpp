// Fuzzes the command line: the input is the argument vector after the
// program name, arguments separated by NUL bytes. Every argument vector must
// parse into settings or messages, and the settings must be released whole.
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/FuzzTarget.h"
#include "fuzz/SilencedStreams.h"
#include "generator/CommandLine.h"

namespace {

std::vector<std::string> argumentsOf(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments{"gen"};
  std::string current;
  for (std::size_t i = 0; i < size; i++) {
    if (data[i] == '\0') {
      arguments.push_back(current);
      current.clear();
    } else {
      current.push_back(static_cast<char>(data[i]));
    }
  }
  arguments.push_back(current);
  return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments = argumentsOf(data, size);
  // Fewer arguments print the usage text and end the process by design.
  if (arguments.size() <= 3) {
    return 0;
  }
  std::vector<char*> argv;
  for (std::string& argument : arguments) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);

  SilencedStreams silenced;
  int fileType = 1;
  char* traceFileName = nullptr;
  commandline(static_cast<int>(arguments.size()), argv.data(), fileType, traceFileName);
  SettingsValid();
  ExperimentNumberValid(25);
  std::free(traceFileName);
  ReleaseSettings();
  return 0;
}
