#include "compiler/ExpressionParser.h"

#include <algorithm>
#include <array>

#include "compiler/Parser.h"

namespace sanc {

namespace {

// The binary operators by precedence level, loosest first, as in C.
const std::array<std::vector<std::string_view>, 6> kLevels = {{
    {"||"},
    {"&&"},
    {"==", "!="},
    {"<", "<=", ">", ">="},
    {"+", "-"},
    {"*", "/", "%"},
}};

const std::array<std::string_view, 8> kTypeWords = {"double", "float",    "int",  "long",
                                                    "short",  "unsigned", "char", "bool"};

const std::array<std::string_view, 4> kCasts = {"static_cast", "dynamic_cast", "reinterpret_cast",
                                                "const_cast"};

// The C++ operators expressions leave out, with what to write instead.
const std::array<std::pair<std::string_view, std::string_view>, 5> kRefused = {{
    {"&", "write && for 'and'"},
    {"|", "write || for 'or'"},
    {"^", "write pow(a, b) for a power"},
    {"~", "expressions have no bitwise operators"},
    {"=", "write == to compare"},
}};

template <class List>
bool listed(const List& list, std::string_view word) {
  return std::find(list.begin(), list.end(), word) != list.end();
}

const ExprFunction* findFunction(const std::string& name) {
  const std::vector<ExprFunction>& functions = exprFunctions();
  const auto found = std::find_if(functions.begin(), functions.end(),
                                  [&](const ExprFunction& f) { return name == f.name; });
  return found == functions.end() ? nullptr : &*found;
}

// The column just after a token that ends on its line.
int endColumn(const Token& token) {
  return token.where.column + static_cast<int>(token.text.size());
}

}  // namespace

std::string functionList() {
  std::string list;
  for (const ExprFunction& function : exprFunctions()) {
    list += (list.empty() ? "" : ", ") + std::string(function.name);
  }
  return list;
}

std::optional<Expr> ExpressionParser::parse(const std::string& what) {
  What = what;
  Depth = 0;
  Nesting = 0;
  try {
    return conditional();
  } catch (const Failure&) {
    return std::nullopt;
  }
}

const Token& ExpressionParser::peek() {
  if (Depth > 0) {
    skipNewlines();
  }
  return Lex.peek();
}

Token ExpressionParser::take() {
  peek();
  return Lex.take();
}

void ExpressionParser::skipNewlines() {
  while (Lex.peek().kind == TokenKind::Newline) {
    Lex.take();
  }
}

void ExpressionParser::expect(const char* punct, const std::string& context) {
  if (!peek().isPunct(punct)) {
    fail(peek().where,
         "expected '" + std::string(punct) + "' " + context + ", found " + describe(peek()));
  }
  take();
}

void ExpressionParser::fail(SourceLocation where, const std::string& message) {
  Diags.error(where, message);
  throw Failure{};
}

Expr ExpressionParser::conditional() {
  // Each level of brackets or signs costs a few frames of the stack.
  if (++Nesting > Lexer::kMaxDepth) {
    fail(peek().where, "brackets are nested too deeply");
  }
  struct Leave {
    int& nesting;
    ~Leave() { nesting--; }
  } leave{Nesting};
  Expr test = binary(0);
  if (!peek().isPunct("?")) {
    return test;
  }
  Expr expr{Expr::Kind::Conditional, "?", "", test.where, {}};
  take();
  skipNewlines();
  Depth++;  // between '?' and ':' the expression cannot end
  Expr chosen = conditional();
  expect(":", "after the first choice of '?'");
  Depth--;
  skipNewlines();
  Expr other = conditional();
  expr.operands = {std::move(test), std::move(chosen), std::move(other)};
  return expr;
}

Expr ExpressionParser::binary(int level) {
  if (level == static_cast<int>(kLevels.size())) {
    return unary();
  }
  Expr left = binary(level + 1);
  for (;;) {
    const Token& next = peek();
    if (level == 0 && !next.isPunct("=")) {
      refuseOperator(next);
    }
    if (next.kind != TokenKind::Punct || !listed(kLevels[level], next.text)) {
      return left;
    }
    const Token op = take();
    skipNewlines();  // a line that ends with an operator goes on
    Expr right = binary(level + 1);
    Expr joined{Expr::Kind::Binary, op.text, "", op.where, {}};
    joined.operands = {std::move(left), std::move(right)};
    left = std::move(joined);
  }
}

Expr ExpressionParser::unary() {
  const Token& next = peek();
  if (next.isPunct("-") || next.isPunct("+") || next.isPunct("!")) {
    const Token op = take();
    Expr expr{Expr::Kind::Unary, op.text, "", op.where, {}};
    if (++Nesting > Lexer::kMaxDepth) {
      fail(op.where, "the expression is nested too deeply");
    }
    expr.operands.push_back(unary());
    Nesting--;
    return expr;
  }
  return postfix();
}

Expr ExpressionParser::postfix() {
  Expr expr = primary();
  while (peek().isPunct("[")) {
    if (expr.kind != Expr::Kind::Name && expr.kind != Expr::Kind::Member) {
      fail(peek().where, "only an array of places can be indexed");
    }
    take();
    Depth++;
    Expr index = conditional();
    expect("]", "after the index");
    Depth--;
    Expr indexed{Expr::Kind::Index, "[]", "", expr.where, {}};
    indexed.operands = {std::move(expr), std::move(index)};
    expr = std::move(indexed);
  }
  return expr;
}

Expr ExpressionParser::primary() {
  const Token token = peek();
  if (token.kind == TokenKind::Number) {
    take();
    const Token& after = Lex.peek();
    if (after.kind == TokenKind::Identifier && after.where.line == token.where.line &&
        after.where.column == endColumn(token)) {
      fail(token.where, "'" + token.text + after.text +
                            "': a number takes no suffix in "
                            "expressions; write " +
                            token.text);
    }
    return Expr{Expr::Kind::Number, token.text, "", token.where, {}};
  }
  if (token.isPunct("(")) {
    take();
    Depth++;
    Expr inner = conditional();
    expect(")", "to close '('");
    Depth--;
    if (inner.kind == Expr::Kind::Name && listed(kTypeWords, inner.text)) {
      fail(inner.where,
           "expressions need no casts: numbers are real numbers; write floor(x) "
           "for the whole part of x");
    }
    return inner;
  }
  if (token.kind != TokenKind::Identifier) {
    refuseOperator(token);
    fail(token.where, "expected " + What + ", found " + describe(token));
  }
  take();
  if (token.text == "true" || token.text == "false") {
    return Expr{Expr::Kind::Boolean, token.text, "", token.where, {}};
  }
  if (listed(kCasts, token.text)) {
    fail(token.where,
         "expressions need no casts: numbers are real numbers; write floor(x) "
         "for the whole part of x");
  }
  if (token.text == "std" && Lex.peek().isPunct("::")) {
    Lex.take();
    const Token function = take();
    if (function.kind != TokenKind::Identifier || !findFunction(function.text)) {
      fail(token.where, "std::" + function.text + " is C++; the functions of expressions are " +
                            functionList() + ", without std::");
    }
    if (!Lex.peek().isPunct("(")) {
      fail(Lex.peek().where, "expected '(' after " + function.text);
    }
    return call(token, function.text);
  }
  if (Lex.peek().isPunct("(")) {
    return call(token, token.text);
  }
  if (!Lex.peek().isPunct(".")) {
    return Expr{Expr::Kind::Name, token.text, "", token.where, {}};
  }
  Lex.take();
  const Token member = Lex.peek();
  if (member.kind != TokenKind::Identifier) {
    fail(member.where,
         "expected a place's name after '" + token.text + ".', found " + describe(member));
  }
  Lex.take();
  if (!Lex.peek().isPunct("(")) {
    return Expr{Expr::Kind::Member, token.text, member.text, token.where, {}};
  }
  if (member.text != "size") {
    fail(member.where, "'" + member.text + "' is not a function of a place array (size() is)");
  }
  Lex.take();
  expect(")", "after size(");
  return Expr{Expr::Kind::Size, token.text, "", token.where, {}};
}

void ExpressionParser::refuseOperator(const Token& token) {
  for (const auto& [op, instead] : kRefused) {
    if (token.isPunct(op)) {
      fail(token.where,
           "'" + token.text + "' is not an operator of expressions: " + std::string(instead));
    }
  }
}

Expr ExpressionParser::call(const Token& name, const std::string& function) {
  const ExprFunction* known = findFunction(function);
  if (known == nullptr) {
    fail(name.where,
         "'" + function + "' is not a function of expressions (they are " + functionList() + ")");
  }
  Expr expr{Expr::Kind::Call, function, "", name.where, {}};
  take();  // '('
  Depth++;
  if (!peek().isPunct(")")) {
    do {
      expr.operands.push_back(conditional());
    } while (peek().isPunct(",") && (take(), true));
  }
  expect(")", "after the arguments of " + function);
  Depth--;
  if (static_cast<int>(expr.operands.size()) != known->arity) {
    fail(name.where, function + " takes " + std::to_string(known->arity) +
                         (known->arity == 1 ? " argument" : " arguments") + ", not " +
                         std::to_string(expr.operands.size()));
  }
  return expr;
}

}  // namespace sanc
