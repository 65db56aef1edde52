#ifndef COMPILER_EXPRESSION_H_
#define COMPILER_EXPRESSION_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "compiler/Diagnostics.h"

namespace sanc {

// An expression of the language's own grammar: numbers are real numbers
// whatever their spelling, so that 1 / 60 is a sixtieth and not 0.
struct Expr {
  enum class Kind {
    Number,       // text: as written
    Boolean,      // text: true or false
    Name,         // text: a place, parameter, global, formula or index
    Member,       // text.member: a place of an instance (in rewards)
    Size,         // text.size(): the size of an array of places
    Index,        // operands[0][operands[1]]
    Call,         // text(operands...): one of the functions of expressions
    Unary,        // text operands[0]: -, + or !
    Binary,       // operands[0] text operands[1]
    Conditional,  // operands[0] ? operands[1] : operands[2]
  };

  Kind kind = Kind::Number;
  std::string text;
  std::string member;
  SourceLocation where;
  std::vector<Expr> operands;
};

// The functions an expression may call, each with its number of arguments.
struct ExprFunction {
  const char* name;
  int arity;
};
const std::vector<ExprFunction>& exprFunctions();

// The C++ of an expression: real arithmetic throughout (a division is one of
// doubles), the functions by their qualified names. Names are written as
// they are; rename, when given, supplies another spelling for a name (a
// formula's expansion), or nullopt to keep it.
using NameRewrite = std::function<std::optional<std::string>(const Expr& name)>;
std::string toCpp(const Expr& expr, const NameRewrite& rename = nullptr);

// The expression as a modeller would write it, for messages.
std::string toSource(const Expr& expr);

// The value of an expression that reads no name; nullopt when it reads one.
// The arithmetic is the generated code's: doubles, the same functions.
std::optional<double> evaluate(const Expr& expr);

// Calls visit for every Name, Member and Size node of expr, in source order.
void forEachName(const Expr& expr, const std::function<void(const Expr&)>& visit);

}  // namespace sanc

#endif
