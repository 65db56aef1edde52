#include "compiler/Expression.h"

#include <cmath>
#include <cstdlib>

namespace sanc {

namespace {

bool isWholeLiteral(const std::string& text) {
  return text.find_first_not_of("0123456789") == std::string::npos;
}

std::string functionCpp(const std::string& name) {
  if (name == "min" || name == "max" || name == "div") {
    return "sanc_runtime::" + name;
  }
  if (name == "abs") {
    return "std::fabs";
  }
  return "std::" + name;
}

std::optional<double> callValue(const std::string& name, const std::vector<double>& args) {
  if (name == "min") return args[1] < args[0] ? args[1] : args[0];
  if (name == "max") return args[0] < args[1] ? args[1] : args[0];
  if (name == "div") return std::floor(args[0] / args[1]);
  if (name == "floor") return std::floor(args[0]);
  if (name == "ceil") return std::ceil(args[0]);
  if (name == "pow") return std::pow(args[0], args[1]);
  if (name == "exp") return std::exp(args[0]);
  if (name == "log") return std::log(args[0]);
  if (name == "sqrt") return std::sqrt(args[0]);
  if (name == "abs") return std::fabs(args[0]);
  return std::nullopt;
}

std::optional<double> binaryValue(const std::string& op, double a, double b) {
  if (op == "+") return a + b;
  if (op == "-") return a - b;
  if (op == "*") return a * b;
  if (op == "/") return a / b;
  if (op == "%") return std::fmod(a, b);
  if (op == "<") return a < b;
  if (op == "<=") return a <= b;
  if (op == ">") return a > b;
  if (op == ">=") return a >= b;
  if (op == "==") return a == b;
  if (op == "!=") return a != b;
  return std::nullopt;
}

}  // namespace

const std::vector<ExprFunction>& exprFunctions() {
  static const std::vector<ExprFunction> functions = {
      {"min", 2}, {"max", 2}, {"div", 2}, {"floor", 1}, {"ceil", 1},
      {"pow", 2}, {"exp", 1}, {"log", 1}, {"sqrt", 1},  {"abs", 1}};
  return functions;
}

std::string toCpp(const Expr& expr, const NameRewrite& rename) {
  auto operand = [&](std::size_t i) { return toCpp(expr.operands[i], rename); };
  switch (expr.kind) {
    case Expr::Kind::Number:
      return isWholeLiteral(expr.text) ? expr.text + ".0" : expr.text;
    case Expr::Kind::Boolean:
      return expr.text;
    case Expr::Kind::Name:
      if (rename) {
        if (std::optional<std::string> spelled = rename(expr)) {
          return *spelled;
        }
      }
      return expr.text;
    case Expr::Kind::Member:
      return expr.text + "." + expr.member;
    case Expr::Kind::Size:
      return expr.text + ".size()";
    case Expr::Kind::Index:
      return operand(0) + "[static_cast<long>(" + operand(1) + ")]";
    case Expr::Kind::Call: {
      std::string call = functionCpp(expr.text) + "(";
      for (std::size_t i = 0; i < expr.operands.size(); i++) {
        call += (i ? ", " : "") + operand(i);
      }
      return call + ")";
    }
    case Expr::Kind::Unary:
      return "(" + expr.text + operand(0) + ")";
    case Expr::Kind::Binary:
      if (expr.text == "/") {
        return "(static_cast<double>(" + operand(0) + ") / " + operand(1) + ")";
      }
      if (expr.text == "%") {
        return "std::fmod(static_cast<double>(" + operand(0) + "), " + operand(1) + ")";
      }
      return "(" + operand(0) + " " + expr.text + " " + operand(1) + ")";
    case Expr::Kind::Conditional:
      return "(" + operand(0) + " ? " + operand(1) + " : " + operand(2) + ")";
  }
  return "";
}

std::string toSource(const Expr& expr) {
  auto operand = [&](std::size_t i) {
    const Expr& inner = expr.operands[i];
    const bool grouped = inner.kind == Expr::Kind::Binary || inner.kind == Expr::Kind::Conditional;
    return grouped ? "(" + toSource(inner) + ")" : toSource(inner);
  };
  switch (expr.kind) {
    case Expr::Kind::Member:
      return expr.text + "." + expr.member;
    case Expr::Kind::Size:
      return expr.text + ".size()";
    case Expr::Kind::Index:
      return toSource(expr.operands[0]) + "[" + toSource(expr.operands[1]) + "]";
    case Expr::Kind::Call: {
      std::string call = expr.text + "(";
      for (std::size_t i = 0; i < expr.operands.size(); i++) {
        call += (i ? ", " : "") + toSource(expr.operands[i]);
      }
      return call + ")";
    }
    case Expr::Kind::Unary:
      return expr.text + operand(0);
    case Expr::Kind::Binary:
      return operand(0) + " " + expr.text + " " + operand(1);
    case Expr::Kind::Conditional:
      return operand(0) + " ? " + operand(1) + " : " + operand(2);
    default:
      return expr.text;
  }
}

std::optional<double> evaluate(const Expr& expr) {
  std::vector<double> values;
  if (expr.kind == Expr::Kind::Conditional) {
    const std::optional<double> test = evaluate(expr.operands[0]);
    if (!test) return std::nullopt;
    return evaluate(expr.operands[*test != 0 ? 1 : 2]);
  }
  if (expr.kind == Expr::Kind::Binary && (expr.text == "&&" || expr.text == "||")) {
    const std::optional<double> first = evaluate(expr.operands[0]);
    if (!first) return std::nullopt;
    if ((*first != 0) == (expr.text == "||")) return *first != 0;
    const std::optional<double> second = evaluate(expr.operands[1]);
    if (!second) return std::nullopt;
    return *second != 0;
  }
  for (const Expr& operand : expr.operands) {
    const std::optional<double> value = evaluate(operand);
    if (!value) return std::nullopt;
    values.push_back(*value);
  }
  switch (expr.kind) {
    case Expr::Kind::Number:
      return std::strtod(expr.text.c_str(), nullptr);
    case Expr::Kind::Boolean:
      return expr.text == "true" ? 1.0 : 0.0;
    case Expr::Kind::Call:
      return callValue(expr.text, values);
    case Expr::Kind::Unary:
      return expr.text == "-" ? -values[0] : expr.text == "!" ? (values[0] == 0) : values[0];
    case Expr::Kind::Binary:
      return binaryValue(expr.text, values[0], values[1]);
    default:
      return std::nullopt;
  }
}

void forEachName(const Expr& expr, const std::function<void(const Expr&)>& visit) {
  if (expr.kind == Expr::Kind::Name || expr.kind == Expr::Kind::Member ||
      expr.kind == Expr::Kind::Size) {
    visit(expr);
  }
  for (const Expr& operand : expr.operands) {
    forEachName(operand, visit);
  }
}

}  // namespace sanc
