#include "study/GlobalValue.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "compiler/Literals.h"
#include "compiler/Model.h"

namespace study {

namespace {

// The shortest text that reads back as value (as a float when single).
std::string exactText(double value, bool single) {
  char text[40];
  for (int digits = single ? 6 : 15;; digits++) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    const bool exact = single ? std::strtof(text, nullptr) == static_cast<float>(value)
                              : std::strtod(text, nullptr) == value;
    if (exact || digits == 17) {
      return text;
    }
  }
}

// As the generated study prints it: the stream's default format (a float
// widened to double first).
std::string streamed(double value) {
  std::ostringstream out;
  out << value;
  return out.str();
}

// The type letter of an override triple. A char goes as an int, which the
// model converts, since a 'c' triple would take the first character of the
// text instead of its number.
char settingLetter(sanc::ValueType type) {
  switch (type) {
    case sanc::ValueType::Bool:
      return 'b';
    case sanc::ValueType::Short:
      return 's';
    case sanc::ValueType::Long:
      return 'l';
    case sanc::ValueType::Float:
      return 'f';
    case sanc::ValueType::Double:
      return 'd';
    default:
      return 'i';
  }
}

// The value of a checked literal: its text without the suffix that makes it
// C++ of its type.
GlobalValue valueOfChecked(const GlobalVariable& variable, const std::string& literal) {
  std::string value;
  switch (variable.type) {
    case sanc::ValueType::Bool:
      value = literal == "true" ? "1" : "0";
      break;
    case sanc::ValueType::Float: {
      const float number = std::strtof(literal.c_str(), nullptr);
      return {streamed(static_cast<double>(number)),
              "f:" + variable.name + ":" + exactText(static_cast<double>(number), true)};
    }
    case sanc::ValueType::Double: {
      const double number = std::strtod(literal.c_str(), nullptr);
      return {streamed(number), "d:" + variable.name + ":" + exactText(number, false)};
    }
    default:
      value = std::to_string(std::strtol(literal.c_str(), nullptr, 10));
  }
  return {value, std::string(1, settingLetter(variable.type)) + ":" + variable.name + ":" + value};
}

}  // namespace

std::optional<GlobalValue> parseGlobalValue(const GlobalVariable& variable,
                                            const std::string& text, std::string& problem) {
  const std::optional<std::string> literal = sanc::cppLiteral(variable.type, text, problem);
  if (!literal) {
    return std::nullopt;
  }
  return valueOfChecked(variable, *literal);
}

std::optional<GlobalValue> valueOfLiteral(const GlobalVariable& variable,
                                          const std::string& literal) {
  std::string text = literal;
  if (variable.type == sanc::ValueType::Bool) {
    text = literal == "true" ? "1" : literal == "false" ? "0" : literal;
  } else if (!text.empty() && (text.back() == 'f' || text.back() == 'L')) {
    text.pop_back();
  }
  std::string problem;
  return parseGlobalValue(variable, text, problem);
}

}  // namespace study
