// Runs a fuzz target over stored inputs, without libFuzzer: every regular
// file of the folders (or the files) named on the command line, in name
// order. The normal and sanitizer builds run it over each target's corpus,
// so that every input that once found a fault stays a test.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/FuzzTarget.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsOf(const fs::path& path) {
  std::vector<fs::path> inputs;
  if (!fs::is_directory(path)) {
    inputs.push_back(path);
    return inputs;
  }
  for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
    if (entry.is_regular_file()) {
      inputs.push_back(entry.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

bool replay(const fs::path& input) {
  std::ifstream in(input, std::ios::binary);
  if (!in) {
    std::cerr << "Error: cannot read " << input.string() << std::endl;
    return false;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int replayed = 0;
  for (int i = 1; i < argc; i++) {
    for (const fs::path& input : inputsOf(argv[i])) {
      if (!replay(input)) {
        return 1;
      }
      replayed++;
    }
  }
  // An empty corpus would make the test pass without testing anything.
  if (replayed == 0) {
    std::cerr << "Error: no inputs to replay" << std::endl;
    return 1;
  }
  std::cerr << "replayed " << replayed << " inputs" << std::endl;
  return 0;
}
