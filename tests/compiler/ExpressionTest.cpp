// The language's own expressions: real arithmetic, constant values checked
// where they are written, C++ that the grammar leaves out refused with what
// to write instead, and expressions over several lines.
#include <gtest/gtest.h>

#include <string>

#include "compiler/Expression.h"
#include "tests/compiler/CompileHelpers.h"

namespace {

using compile_helpers::compiled;
using compile_helpers::expectFirstErrors;
using compile_helpers::firstError;

// An atomic model with places p and q, a short n and a double x, and one
// activity whose timing and clauses are timing.
std::string activity(const std::string& timing) {
  return "global short n = 4\nglobal double x = 2\natomic a {\n  place p, q\n  activity t " +
         timing + "\n}\n";
}

// The C++ written for the first activity's rate.
std::string rateCpp(const std::string& timing) {
  const sanc::Model model = compiled(activity(timing));
  return model.atomics.empty() ? "" : model.atomics[0].decl->activities[0].time->text;
}

TEST(ExpressionTest, DivisionIsRealAndFunctionsNeedNoStd) {
  EXPECT_EQ("(static_cast<double>(1.0) / 60.0)", rateCpp("rate 1 / 60  in p"));
  EXPECT_EQ("(static_cast<double>(n) / 500.0)", rateCpp("rate n / 500  in p"));
  EXPECT_EQ("sanc_runtime::min(1.0, (static_cast<double>(n) / x))",
            rateCpp("rate std::min(1, n / x)  in p"));
  EXPECT_EQ("(std::floor((static_cast<double>(n) / 3.0)) + sanc_runtime::div(n, 3.0))",
            rateCpp("rate floor(n / 3) + div(n, 3)  in p"));
  EXPECT_EQ("((p > 0.0) ? (1.5 * std::pow(p, 2.0)) : std::fmod(static_cast<double>(n), 3.0))",
            rateCpp("rate p > 0 ? 1.5 * pow(p, 2) : n % 3  in p"));
}

TEST(ExpressionTest, ConstantsEvaluateAsTheGeneratedCodeDoes) {
  const sanc::Model model = compiled(
      activity("rate -min(2, 3) + max(1, 4) * floor(7 / 2) - ceil(0.5) + abs(-2) + div(7, 2) + "
               "log(exp(1)) + sqrt(9) + (1 < 2 && 2 >= 2 || !true) + (0 ? 5 : 6) + 7 % 4 + pow(2, "
               "3)  in p"));
  ASSERT_FALSE(model.atomics.empty());
  const std::optional<double> value =
      sanc::evaluate(*model.atomics[0].decl->activities[0].time->expr);
  ASSERT_TRUE(value);
  EXPECT_EQ(-2 + 4 * 3 - 1 + 2 + 3 + 1 + 3 + 1 + 6 + 3 + 8, *value);
}

// A constant that gives an activity nothing to do is an error where it is
// written; a probability is judged by its value, whatever its spelling.
TEST(ExpressionTest, ConstantsThatDropAFiringAreRefusedAtTheirPosition) {
  expectFirstErrors({
      {activity("rate 1 - 1  in p").c_str(), "5:19: a rate must be positive (it is 0)"},
      {activity("deterministic 1 / 60 - 1 / 60  in p").c_str(),
       "5:28: a delay must be positive (it is 0)"},
      {activity("instantaneous  in p  weight 0 * 2").c_str(),
       "5:42: a weight must be positive (it is 0)"},
      {activity("rate 1  in p\n    case 1 / 2:  out q\n    case 0:").c_str(),
       "7:10: a case probability of 0 is never taken; remove the case"},
      {activity("rate 1  in p\n    case weight 2 - 2:  out q\n    case weight 1:").c_str(),
       "6:17: a case weight of 0 is never taken; remove the case (it is 0)"},
      {activity("rate 1  in p\n    case 1 / 3:  out q\n    case 1 / 3:").c_str(),
       "6:5: the case probabilities of activity 't' sum to 0.666667, not 1 (write 'case weight' "
       "for relative weights)"},
      {activity("erlang 1 phases 5 / 2  in p").c_str(),
       "5:30: the number of phases must be a whole number of at least 1"},
  });
  EXPECT_EQ("no error",
            firstError(activity("rate 1  in p\n    case 1 / 2:  out q\n    case 0.5:")));
  EXPECT_EQ("no error", firstError(activity("rate 1 / 60  in p")));
}

TEST(ExpressionTest, CppTheGrammarLeavesOutIsRefusedWithWhatToWrite) {
  expectFirstErrors({
      {activity("rate (double) n / 2  in p").c_str(),
       "5:20: expressions need no casts: numbers are real numbers; write floor(x) for the whole "
       "part of x"},
      {activity("rate static_cast<double>(n)  in p").c_str(),
       "5:19: expressions need no casts: numbers are real numbers; write floor(x) for the whole "
       "part of x"},
      {activity("rate std::fmin(n, 2)  in p").c_str(),
       "5:19: std::fmin is C++; the functions of expressions are min, max, div, floor, ceil, "
       "pow, exp, log, sqrt, abs, without std::"},
      {activity("rate gamma(2)  in p").c_str(),
       "5:19: 'gamma' is not a function of expressions (they are min, max, div, floor, ceil, "
       "pow, exp, log, sqrt, abs)"},
      {activity("rate min(n)  in p").c_str(), "5:19: min takes 2 arguments, not 1"},
      {activity("rate 1.5f  in p").c_str(),
       "5:19: '1.5f': a number takes no suffix in expressions; write 1.5"},
      {activity("rate p & q  in p").c_str(),
       "5:21: '&' is not an operator of expressions: write && "
       "for 'and'"},
      {activity("rate 2 ^ n  in p").c_str(),
       "5:21: '^' is not an operator of expressions: write "
       "pow(a, b) for a power"},
      {activity("rate speed  in p").c_str(),
       "5:19: 'speed' is not a place, parameter or global variable of atomic model 'a'"},
      {activity("rate a.p  in p").c_str(),
       "5:19: 'a.p': an activity reads the places of its own model by their names "
       "(instance.place is for rewards)"},
      {activity("rate p.size()  in p").c_str(), "5:19: 'p' is a place, not an array of places"},
  });
}

TEST(ExpressionTest, ExpressionsAndListsGoOnAfterAnOperatorOrAComma) {
  EXPECT_EQ("no error", firstError(activity("rate x *\n      (1 +\n       n)  in p,\n  q")));
  EXPECT_EQ("no error", firstError("atomic a {\n  place p = 1,\n    q = 2 ?\n  3 :\n  4\n}\n"
                                   "rewards {\n  r at 1,\n    2 = a.p +\n   a.q\n}"));
  // Without the operator at its end, the line ends the statement.
  EXPECT_EQ(
      "6:7: expected place, formula or activity, found '*' (a statement ends at a line break: to "
      "go on "
      "with an expression on the next line, end the line with its operator)",
      firstError(activity("rate x\n      * 2  in p")));
}

// C++ code keeps its power, but a division of whole numbers there drops
// the remainder, which is refused with the two ways to say what is meant.
TEST(ExpressionTest, IntegerDivisionsInCppCodeAreRefused) {
  expectFirstErrors({
      {activity("rate 1  when p / 2 > 0").c_str(),
       "5:29: 'p / 2' divides whole numbers, and C++ drops the remainder; write p / 2.0 for the "
       "quotient, or floor(p / 2.0) for its whole part"},
      {activity("rate 1  when 1 / n > 0").c_str(),
       "5:29: '1 / n' divides whole numbers, and C++ drops the remainder; write 1 / double(n) for "
       "the quotient, or floor(1 / double(n)) for its whole part"},
      {activity("rate 1  in p  do { q /= 2; }").c_str(),
       "5:35: 'q /= 2' divides whole numbers, and C++ drops the remainder; write q = floor(q / "
       "2.0) to keep the whole part"},
  });
  for (const char* fine : {"rate 1  when p / 2.0 > 0", "rate 1  when x / n > 0",
                           "rate 1  when 1.0 * p / n > 0", "rate 1  when double(p) / n > 0",
                           "rate 1  when p > 0 // p / 2 in a comment", "rate 1  when p > n % 2"}) {
    EXPECT_EQ("no error", firstError(activity(fine))) << fine;
  }
}

TEST(ExpressionTest, RewardsReadPlacesOfInstancesAndGlobals) {
  const std::string model = "global double x = 2\natomic a {\n  place p\n}\nrewards {\n";
  expectFirstErrors({
      {(model + "  r at 1 = a.p / y\n}").c_str(),
       "6:18: 'y' is not a global variable (a reward reads places as instance.place)"},
      {(model + "  r at 1 = a.p / 2 +\n}").c_str(), "7:1: expected a rate reward, found '}'"},
  });
  EXPECT_EQ("no error", firstError(model + "  r at 1 = a.p / x\n}"));
}

// A global's default may be an expression over the globals before it, and
// a formula names an expression; neither may depend on itself.
TEST(ExpressionTest, DerivedGlobalsAndFormulas) {
  expectFirstErrors({
      {"global int c = 4\nglobal double lambda = 4 * d\nglobal int d = 1",
       "2:28: the default of 'lambda' reads 'd', which is declared after it (line 3); a default "
       "reads only the globals declared before it"},
      {"global double x = x + 1", "1:19: 'x' is computed from itself"},
      {"global int h = 3 / 2\natomic a {\n}",
       "1:16: the default of 'h' is 1.5, not a whole number (h is of type int; write floor(...) "
       "or div(a, b))"},
      {"formula a = b + 1\nformula b = 2 * a\nglobal double x = a",
       "1:9: the formula 'a' is computed from itself (a -> b -> a)"},
      {"global double x = 1\nformula x = 2",
       "2:9: the formula 'x' would hide the global "
       "variable of that name (line 1)"},
      {"formula f = 1\nformula f = 2", "2:9: 'f' is already declared as a formula (line 1)"},
      {"atomic a {\n  place p\n  formula p = 2\n}",
       "3:11: 'p' is already declared as a place (line 2)"},
      {"global int c = 3\nglobal int h = c * 2\natomic a {\n}\nstudy set { h = 1, 2 }",
       "5:13: 'h' is computed from its default; vary the globals it is computed from, or give it "
       "a number as its default"},
      {"formula load = q / 2\natomic a {\n  place p\n  activity t rate load  in p\n}",
       "1:16: 'q' is not a place, parameter or global variable of atomic model 'a'"},
  });
  const sanc::Model model = compiled(
      "global int c = 3\nglobal double lambda = 4 * c\nformula load = lambda / c\n"
      "atomic a {\n  place p = c\n  formula busy = p > 0 ? load : 0\n"
      "  activity t rate busy * 2  in p  when busy > 0\n}\nrewards {\n  r at 1 = a.p * load\n}");
  ASSERT_FALSE(model.atomics.empty());
  const sanc::ActivityDecl& t = model.atomics[0].decl->activities[0];
  EXPECT_EQ("(((p > 0.0) ? (static_cast<double>(lambda) / c) : 0.0) * 2.0)", t.time->text);
  // The predicate is C++: it reads the formula's places, and the formula
  // is bound where it runs.
  EXPECT_TRUE(t.clauses.guard->mentions("p"));
  EXPECT_EQ("sanc_runtime::derivedValue<double>((4.0 * c), \"lambda\")", model.globalValues[1]);
  EXPECT_EQ("(a.p * (static_cast<double>(lambda) / c))",
            model.file->rewards->variables[0].rate->text);
}

}  // namespace
