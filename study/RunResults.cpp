#include "study/RunResults.h"

#include <fstream>
#include <sstream>

namespace study {

std::optional<std::vector<Measure>> readSolveTable(const std::string& output) {
  std::istringstream in(output);
  bool table = false;
  std::vector<Measure> measures;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    Measure measure;
    std::string rest;
    if (!(fields >> measure.variable >> measure.time >> measure.value >> measure.error) ||
        (fields >> rest)) {
      continue;
    }
    if (table) {
      measures.push_back(measure);
    } else if (measure.variable == "variable" && measure.time == "time" &&
               measure.value == "value" && measure.error == "error") {
      table = true;
    }
  }
  if (!table) {
    return std::nullopt;
  }
  return measures;
}

std::optional<std::string> readStateCount(const std::string& console) {
  std::istringstream in(console);
  std::optional<std::string> count;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string first, number, last;
    if (words >> first >> number >> last && first == "Generated:" && last == "states" &&
        number.find_first_not_of("0123456789") == std::string::npos) {
      count = number;
    }
  }
  return count;
}

std::string lastLine(const std::string& text) {
  std::istringstream in(text);
  std::string last;
  for (std::string line; std::getline(in, line);) {
    if (line.find_first_not_of(" \t\r") != std::string::npos) {
      last = line;
    }
  }
  return last;
}

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace study
