#include "solver/Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace solver {

namespace {

std::string numberText(const char* format, double value) {
  char text[40];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string valueText(const VariableValue& value, const char* format) {
  return value.infinite ? "inf" : numberText(format, value.estimate.value);
}

}  // namespace

std::string whenText(const VariableValue& value) {
  switch (value.kind) {
    case VariableKind::kAccumulated:
    case VariableKind::kAverage:
      return numberText("%g", value.start) + ".." + numberText("%g", value.time);
    case VariableKind::kMeanTime:
      return "-";
    default:
      return std::isinf(value.time) ? "inf" : numberText("%g", value.time);
  }
}

void printSolution(const Solution& solution, std::ostream& out, bool allDigits) {
  for (const std::string& note : solution.notes) {
    out << note << "\n";
  }
  const char* format = allDigits ? "%.16e" : "%.10e";
  std::size_t nameWidth = std::string("variable").size();
  std::size_t whenWidth = 10;
  const std::size_t valueWidth = allDigits ? 23 : 17;
  for (const VariableValue& value : solution.values) {
    nameWidth = std::max(nameWidth, value.variable.size());
    whenWidth = std::max(whenWidth, whenText(value).size());
  }
  char line[160];
  std::snprintf(line, sizeof line, " %*s %*s %8s\n", static_cast<int>(whenWidth), "time",
                static_cast<int>(valueWidth), "value", "error");
  out << "\nvariable" << std::string(nameWidth - std::string("variable").size(), ' ') << line;
  for (const VariableValue& value : solution.values) {
    std::snprintf(line, sizeof line, " %*s %*s %8.1e\n", static_cast<int>(whenWidth),
                  whenText(value).c_str(), static_cast<int>(valueWidth),
                  valueText(value, format).c_str(), value.estimate.error);
    out << value.variable << std::string(nameWidth - value.variable.size(), ' ') << line;
  }
}

void writeCsv(const Solution& solution, std::ostream& out) {
  out << "variable,time,value,error\n";
  for (const VariableValue& value : solution.values) {
    // A name with a comma or a quote is quoted, its quotes doubled.
    std::string name = value.variable;
    if (name.find_first_of(",\"\n") != std::string::npos) {
      std::string quoted = "\"";
      for (char c : name) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
      }
      name = quoted + "\"";
    }
    out << name << "," << whenText(value) << "," << valueText(value, "%.17g") << ","
        << numberText("%.3g", value.estimate.error) << "\n";
  }
}

}  // namespace solver
