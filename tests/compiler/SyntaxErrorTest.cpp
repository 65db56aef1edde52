// Syntax errors: each reported at its position, once, and the independent
// errors of a file in one run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/compiler/CompileHelpers.h"

namespace {

using compile_helpers::errorsOf;
using compile_helpers::expectFirstErrors;

TEST(SyntaxErrorTest, StatementsAndDeclarations) {
  expectFirstErrors({
      {"glob int x",
       "1:1: expected import, global, formula, atomic, join, rewards or study, found 'glob'"},
      {"global integer x",
       "1:8: expected a type (bool, char, short, int, long, float or double), found 'integer'"},
      {"global int x = y",
       "1:16: the default of 'x' reads global variables and formulas only, "
       "not 'y'"},
      {"global int x 3", "1:14: unexpected '3' after the statement"},
      {"atomic a {\n  place in\n}", "2:9: 'in' is a keyword and cannot name a place"},
      // A list goes on after a comma that ends its line.
      {"atomic a {\n  place p,\n}", "3:1: expected the name of a place, found '}'"},
      {"atomic a {\n  transition t\n}",
       "2:3: expected place, formula or activity, found 'transition'"},
      {"atomic a(double) {\n}", "1:16: expected the name of a parameter, found ')'"},
      {"atomic a {\n  place p", "1:10: '{' is not closed"},
      {"rewards {\n}\nrewards {\n}", "3:1: the rewards are already given (line 1)"},
      {"study set {\n}\nstudy range {\n}", "3:1: the study is already given (line 1)"},
      // A comment left open is reported where it opens, in code or between statements.
      {"atomic a {\n}\n/* note\n\n", "3:1: comment is not closed"},
      {"atomic a {\n  place p = 1 /* x\n}\n", "2:15: comment is not closed"},
  });
}

TEST(SyntaxErrorTest, Activities) {
  expectFirstErrors({
      {"atomic a {\n  activity t speed 1\n}",
       "2:14: expected rate, deterministic, erlang or instantaneous, found 'speed'"},
      {"atomic a {\n  activity t rate\n}", "2:18: expected a rate, found end of line"},
      {"atomic a {\n  activity t erlang 1.0 when p\n}",
       "2:25: unexpected 'when' after the rate of an Erlang activity (expected phases)"},
      {"atomic a {\n  place p\n  activity t rate 1 do p = 0\n}",
       "3:24: unexpected 'p' after do (expected '{')"},
      {"atomic a {\n  place p\n  activity t rate 1\n    case : out p\n}",
       "4:10: expected a probability, found ':'"},
      {"atomic a {\n  place p\n  activity t rate 1\n    case 0.5 out p\n}",
       "4:14: expected ':' after the case's probability, found 'out'"},
      {"atomic a {\n  place p\n  activity t rate 1 in p * \n}",
       "3:28: expected a multiplicity, found end of line"},
      {"atomic a {\n  place p\n  activity t rate 1 when (p > 0\n}", "3:26: '(' is not closed"},
  });
}

// A clause given twice would replace the first silently: each is refused,
// in an activity and in a case.
TEST(SyntaxErrorTest, EachClauseIsGivenAtMostOnce) {
  expectFirstErrors({
      {"atomic a {\n  place p\n  activity t instantaneous  in p  in p\n}",
       "3:35: 'in' is given twice"},
      {"atomic a {\n  place p\n  activity t rate 1  out p  out p\n}",
       "3:29: 'out' is given twice"},
      {"atomic a {\n  place p\n  activity t rate 1  when p > 0  when p < 9\n}",
       "3:34: 'when' is given twice"},
      {"atomic a {\n  place p\n  activity t rate 1  do { p = 1; }\n    do { p = 2; }\n}",
       "4:5: 'do' is given twice"},
      {"atomic a {\n  place p\n  activity t instantaneous  in p  rank 1  rank 2\n}",
       "3:43: 'rank' is given twice"},
      {"atomic a {\n  place p\n  activity t instantaneous  in p  weight 1  weight 2\n}",
       "3:45: 'weight' is given twice"},
      {"atomic a {\n  place p\n  activity t rate 1  in p\n    case 1:  out p  out p\n}",
       "4:21: 'out' is given twice"},
      {"atomic a {\n  place p\n  activity t rate 1  in p\n    case 1:  when p > 1  when p > 2\n}",
       "4:26: 'when' is given twice"},
      {"atomic a {\n  place p\n  activity t rate 1  in p\n    case 1:  do { }  do { }\n}",
       "4:22: 'do' is given twice"},
      {"atomic a {\n  place p\n  activity t instantaneous  in p\n    case 1:  rank 1  rank 2\n}",
       "4:22: 'rank' is given twice"},
  });
}

TEST(SyntaxErrorTest, JoinsRewardsAndStudies) {
  expectFirstErrors({
      {"join j {\n  a, b(\n}", "2:8: expected an argument, found end of line"},
      {"join j {\n  share q = a\n}",
       "2:14: expected '.' after the model's name, found end of line"},
      {"rewards {\n  x = a.b\n}",
       "2:5: unexpected '=' after the reward variable's name (expected at, over, average over, "
       "in the long run, mean time until or probability until)"},
      {"rewards {\n  x average [0, 1] = a.b\n}",
       "2:13: unexpected '[' after average (expected average over [start, stop])"},
      {"rewards {\n  x over 0, 1 = a.b\n}",
       "2:10: expected '[' to open an interval, as in [0, 100], found '0'"},
      {"rewards {\n  x over [0 1] = a.b\n}",
       "2:13: expected ',' after the interval's start, found '1'"},
      {"rewards {\n  x in the long term = a.b\n}",
       "2:17: unexpected 'term' after in (expected in the long run)"},
      {"rewards {\n  x mean time until a.b > 0 at 5\n}",
       "2:29: a mean time has no time points; for the probability that the condition has held "
       "by then, write x probability until <condition> at <times>"},
      {"rewards {\n  x probability until a.b > 0\n}",
       "2:30: unexpected end of line after the condition (expected at and the time points)"},
      {"rewards {\n  x at 1 impulse a = 1\n}",
       "2:20: expected '.' after the model's name, found '='"},
      {"study cube {\n}", "1:12: unexpected '{' in the study (expected range or set)"},
      {"study range { t = 1 .. }", "1:24: unexpected '}' where a number was expected"},
  });
}

TEST(SyntaxErrorTest, IndependentErrorsAreAllReportedWithoutTheirFollowers) {
  EXPECT_EQ(std::vector<std::string>(
                {"2:15: expected rate, deterministic, erlang or instantaneous, found 'fast'",
                 "5:3: expected place, formula or activity, found 'plaec'",
                 "8:8: unexpected 'soon' where a number was expected",
                 "11:1: expected import, global, formula, atomic, join, rewards or study, found "
                 "'studdy'"}),
            errorsOf("atomic a {\n"
                     "  activity go fast 1.0  in p\n"
                     "    case 0.5:  out p\n"  // belongs to the spoilt activity
                     "  place p\n"
                     "  plaec q\n"
                     "}\n"
                     "rewards {\n"
                     "  r at soon = a.p\n"
                     "    impulse a.go = 1\n"  // belongs to the spoilt reward
                     "}\n"
                     "studdy range { }\n"));
}

TEST(SyntaxErrorTest, AByteOrderMarkIsSkippedAndWhatDoesNotPrintIsEscaped) {
  EXPECT_EQ(
      std::vector<std::string>(
          {"1:1: expected import, global, formula, atomic, join, rewards or study, found 'plaec'"}),
      errorsOf("\xEF\xBB\xBF"
               "plaec"));
  sanc::Diagnostics diagnostics("m\x1b.san");
  sanc::compileModel("atomic a {\n  place \x0c\xC3\n}", diagnostics);
  ASSERT_TRUE(diagnostics.hasErrors());
  EXPECT_EQ("m\\x1b.san:2:9: error: expected the name of a place, found '\\x0c'",
            diagnostics.format(diagnostics.errors().front()));
}

TEST(SyntaxErrorTest, ALargeFileIsRefusedUnread) {
  const std::string model = "atomic a {\n}\n//";
  const std::string largest = model + std::string(sanc::kMaxSourceSize - model.size(), 'x');
  EXPECT_EQ(std::vector<std::string>(), errorsOf(largest));
  EXPECT_EQ(std::vector<std::string>({"1:1: the file is larger than 1048576 bytes"}),
            errorsOf(largest + "x"));
}

}  // namespace
