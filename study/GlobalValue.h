#ifndef STUDY_GLOBALVALUE_H_
#define STUDY_GLOBALVALUE_H_

#include <cstddef>
#include <optional>
#include <string>

#include "compiler/Ast.h"

namespace study {

// A global variable of a model: its name and declared type.
struct GlobalVariable {
  std::string name;
  sanc::ValueType type = sanc::ValueType::Int;
  std::size_t declared = 0;  // its index among the description's globals
};

// A value of a global variable in force for an experiment: as the model's
// console prints it (and the table shows it), and as an override triple of
// the model's -O option sets it exactly.
struct GlobalValue {
  std::string shown;    // 32 for a float 32
  std::string setting;  // f:flash_size:32
};

// The value written as text for the variable, under the rules of the model
// language (a whole number that fits an integer type, a decimal number for
// float and double, true, false, 1 or 0 for bool); nullopt, with the reason
// in problem, when text is not one.
std::optional<GlobalValue> parseGlobalValue(const GlobalVariable& variable,
                                            const std::string& text, std::string& problem);

// The value that a C++ literal of the model compiler gives the variable
// (32.0f, 5L, true ...); nullopt when it is not one.
std::optional<GlobalValue> valueOfLiteral(const GlobalVariable& variable,
                                          const std::string& literal);

}  // namespace study

#endif
