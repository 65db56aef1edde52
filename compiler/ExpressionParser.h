#ifndef COMPILER_EXPRESSIONPARSER_H_
#define COMPILER_EXPRESSIONPARSER_H_

#include <optional>
#include <string>

#include "compiler/Diagnostics.h"
#include "compiler/Expression.h"
#include "compiler/Lexer.h"

namespace sanc {

// Reads an expression of the language's grammar from a lexer's tokens:
// numbers, true and false, names (instance.place in rewards, array[i],
// array.size()), the functions of expressions, the operators of C with C's
// precedence (no bitwise ones, no assignment) and ?:. The expression ends at
// the first token that cannot continue it; a line break ends it too, except
// inside brackets and after an operator, where it continues on the next line.
class ExpressionParser {
 public:
  ExpressionParser(Lexer& lex, Diagnostics& diagnostics) : Lex(lex), Diags(diagnostics) {}

  // The expression from the current token on; nullopt after reporting the
  // error. what names the expression in messages ("a rate").
  std::optional<Expr> parse(const std::string& what);

 private:
  struct Failure {};

  Expr conditional();
  Expr binary(int level);
  Expr unary();
  Expr postfix();
  Expr primary();
  Expr call(const Token& name, const std::string& function);
  // The current token; inside brackets line breaks are skipped.
  const Token& peek();
  Token take();
  void skipNewlines();
  // Reports a C++ operator that expressions leave out, with what to write.
  void refuseOperator(const Token& token);
  void expect(const char* punct, const std::string& context);
  [[noreturn]] void fail(SourceLocation where, const std::string& message);

  Lexer& Lex;
  Diagnostics& Diags;
  std::string What;
  int Depth = 0;    // brackets open
  int Nesting = 0;  // subexpressions open, to bound the recursion
};

// "min, max, ..., abs": the functions of expressions, for messages.
std::string functionList();

}  // namespace sanc

#endif
