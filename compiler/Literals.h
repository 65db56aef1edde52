#ifndef COMPILER_LITERALS_H_
#define COMPILER_LITERALS_H_

#include <optional>
#include <string>

#include "compiler/Ast.h"
#include "compiler/Lexer.h"
#include "compiler/Model.h"

namespace sanc {

// The C++ literal that gives a value of type exactly as written in text (a
// number, true or false); nullopt, with the reason in problem, when text is
// not a value of that type or does not fit it.
std::optional<std::string> cppLiteral(ValueType type, const std::string& text,
                                      std::string& problem);

// The value of text when it is a whole decimal integer that fits a long.
std::optional<long> integerValue(const std::string& text);

// The value of code when it is constant: an expression that reads no name,
// or C++ code that is a plain number (optionally signed); nullopt otherwise.
std::optional<double> constantValue(const Code& code);

bool isIntegerType(ValueType type);

}  // namespace sanc

#endif
