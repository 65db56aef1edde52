#include "compiler/Literals.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace sanc {

namespace {

bool isDecimalNumber(const std::string& text) {
  if (text.empty() || text.find_first_not_of("+-0123456789.eE") != std::string::npos) {
    return false;
  }
  char* end = nullptr;
  errno = 0;
  std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && errno == 0;
}

// The integer range of each integer type, as the generated code's platform
// has it.
template <class T>
bool fits(long value) {
  return value >= std::numeric_limits<T>::min() && value <= std::numeric_limits<T>::max();
}

bool integerFits(ValueType type, long value) {
  switch (type) {
    case ValueType::Char:
      return fits<signed char>(value);
    case ValueType::Short:
      return fits<short>(value);
    case ValueType::Int:
      return fits<int>(value);
    default:
      return true;
  }
}

std::optional<std::string> floatingLiteral(ValueType type, const std::string& text,
                                           std::string& problem) {
  if (!isDecimalNumber(text)) {
    problem = "is not a number";
    return std::nullopt;
  }
  const double value = std::strtod(text.c_str(), nullptr);
  if (type == ValueType::Float && std::fabs(value) > std::numeric_limits<float>::max()) {
    problem = "does not fit type float";
    return std::nullopt;
  }
  // A literal of the variable's own type, so that the value is rounded once.
  const bool integral = text.find_first_of(".eE") == std::string::npos;
  if (type == ValueType::Float) {
    return text + (integral ? ".0f" : "f");
  }
  return text + (integral ? ".0" : "");
}

}  // namespace

bool isIntegerType(ValueType type) {
  return type == ValueType::Char || type == ValueType::Short || type == ValueType::Int ||
         type == ValueType::Long;
}

std::optional<long> integerValue(const std::string& text) {
  const std::size_t digits = text[0] == '-' || text[0] == '+' ? 1 : 0;
  if (text.size() <= digits || text.find_first_not_of("0123456789", digits) != std::string::npos) {
    return std::nullopt;
  }
  errno = 0;
  const long value = std::strtol(text.c_str(), nullptr, 10);
  if (errno != 0) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::string> cppLiteral(ValueType type, const std::string& text,
                                      std::string& problem) {
  if (type == ValueType::Bool) {
    if (text == "true" || text == "1") return std::string("true");
    if (text == "false" || text == "0") return std::string("false");
    problem = "is not a truth value (true, false, 1 or 0)";
    return std::nullopt;
  }
  if (type == ValueType::Float || type == ValueType::Double) {
    return floatingLiteral(type, text, problem);
  }
  const std::optional<long> value = integerValue(text);
  if (!value) {
    problem = isDecimalNumber(text) ? "is not a whole number" : "is not a number";
    return std::nullopt;
  }
  if (!integerFits(type, *value)) {
    problem = std::string("does not fit type ") + typeName(type);
    return std::nullopt;
  }
  return std::to_string(*value) + (type == ValueType::Long ? "L" : "");
}

std::optional<double> constantValue(const Code& code) {
  if (code.expr) {
    return evaluate(*code.expr);
  }
  if (!isDecimalNumber(code.text)) {
    return std::nullopt;
  }
  return std::strtod(code.text.c_str(), nullptr);
}

}  // namespace sanc
