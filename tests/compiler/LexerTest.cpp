// Where the pieces of C++ embedded in a description end, and which names in
// them the compiler sees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compiler/Lexer.h"

namespace {

using sanc::Code;
using sanc::CodeEnd;
using sanc::Diagnostics;
using sanc::Lexer;

struct Scanned {
  Code code;
  std::string next;  // the token after the code
  std::vector<std::string> errors;
};

Scanned scan(const std::string& source, const CodeEnd& end) {
  Diagnostics diagnostics("m.san");
  Lexer lexer(source, diagnostics);
  Scanned result{lexer.code(end), lexer.peek().text, {}};
  for (const sanc::Diagnostic& error : diagnostics.errors()) {
    result.errors.push_back(std::to_string(error.where.line) + ":" +
                            std::to_string(error.where.column) + ": " + error.message);
  }
  return result;
}

std::vector<std::string> namesOf(const Code& code) {
  std::vector<std::string> names;
  for (const sanc::CodeName& use : code.names) {
    names.push_back(use.member.empty() ? use.name : use.name + "." + use.member);
  }
  return names;
}

const CodeEnd kWords{{"out", "when"}};

TEST(LexerTest, CodeEndsAtAWordALineEndOrAnUnbalancedBracket) {
  EXPECT_EQ("x < t && y", scan("x < t && y  out z", kWords).code.text);
  EXPECT_EQ("out", scan("x < t && y  out z", kWords).next);
  EXPECT_EQ("a + b", scan("a + b   // comment\nnext", kWords).code.text);
  EXPECT_EQ("f(a, b) * 2", scan("f(a, b) * 2)", kWords).code.text);
  EXPECT_EQ(")", scan("f(a, b) * 2)", kWords).next);
  EXPECT_EQ("a", scan("a; b", kWords).code.text);
  // Inside brackets, neither words nor newlines end it.
  EXPECT_EQ("(a out\n   b)", scan("(a out\n   b) when c", kWords).code.text);
  // A member access or a string never ends it.
  EXPECT_EQ("s.when + \"out\"", scan("s.when + \"out\"", kWords).code.text);
}

TEST(LexerTest, ACommaOrAColonEndsItOnlyWhenAsked) {
  EXPECT_EQ("a", scan("a, b", CodeEnd{{}, true}).code.text);
  EXPECT_EQ("a, b", scan("a, b", CodeEnd{}).code.text);
  const CodeEnd colon{{}, false, true};
  EXPECT_EQ("q == 0 ? 0.5 : 0.25", scan("q == 0 ? 0.5 : 0.25: out q", colon).code.text);
  EXPECT_EQ("std::max(a, b)", scan("std::max(a, b): x", colon).code.text);
}

TEST(LexerTest, NamesAreThoseNotReachedThroughAMemberOrScope) {
  EXPECT_EQ(std::vector<std::string>({"x1", "t", "cell.x1", "std", "p"}),
            namesOf(scan("x1 < t && cell.x1 > std::abs(p->q) + 1e5", kWords).code));
  EXPECT_EQ(std::vector<std::string>({"m.place"}), namesOf(scan("m . place", kWords).code));
  EXPECT_EQ(std::vector<std::string>(), namesOf(scan("\"x1\" /* y1 */", kWords).code));
}

TEST(LexerTest, CodeKeepsItsPositionAndColumn) {
  Diagnostics diagnostics("m.san");
  Lexer lexer("rate\n\t  a + b", diagnostics);
  lexer.take();
  lexer.take();
  const Code code = lexer.code(kWords);
  EXPECT_EQ(2, code.where.line);
  EXPECT_EQ(4, code.where.column);
  EXPECT_EQ("\t  ", code.padding);
}

TEST(LexerTest, ABlockRunsToItsClosingBraceOverLines) {
  Diagnostics diagnostics("m.san");
  Lexer lexer("{ x = 1;\n  if (y) { z = \"}\"; } }  out a", diagnostics);
  EXPECT_EQ("{ x = 1;\n  if (y) { z = \"}\"; } }", lexer.block().text);
  EXPECT_EQ("out", lexer.peek().text);
}

TEST(LexerTest, LineCommentsAreLeftOutOfCodeSoThatABackslashJoinsNothing) {
  Diagnostics diagnostics("m.san");
  Lexer lexer("{ x = 1; // ends in \\\n  y = 2; /* kept */ }", diagnostics);
  EXPECT_EQ("{ x = 1; \n  y = 2; /* kept */ }", lexer.block().text);
  EXPECT_EQ("(a + \n b)", scan("(a + // first \\\n b) out", kWords).code.text);
}

TEST(LexerTest, BrokenCodeIsReportedWhereItBreaks) {
  EXPECT_EQ(std::vector<std::string>({"1:1: '(' is not closed"}), scan("(a ] + b)", kWords).errors);
  EXPECT_EQ("(a", scan("(a ] + b)", kWords).code.text);
  EXPECT_EQ(std::vector<std::string>({"1:5: string literal is not closed"}),
            scan("a + \"b", kWords).errors);
  EXPECT_EQ(std::vector<std::string>({"1:3: '(' is not closed"}), scan("a (b\n c", kWords).errors);
  const std::string deepest =
      std::string(Lexer::kMaxDepth, '(') + "a" + std::string(Lexer::kMaxDepth, ')');
  EXPECT_EQ(std::vector<std::string>(), scan(deepest, kWords).errors);
  const std::string deep(Lexer::kMaxDepth + 1, '(');
  EXPECT_EQ(std::vector<std::string>({"1:257: brackets are nested too deeply"}),
            scan(deep, kWords).errors);
}

}  // namespace
