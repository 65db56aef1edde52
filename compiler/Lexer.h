#ifndef COMPILER_LEXER_H_
#define COMPILER_LEXER_H_

#include <cstddef>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "compiler/Diagnostics.h"
#include "compiler/Expression.h"

namespace sanc {

enum class TokenKind { Identifier, Number, String, Punct, Newline, End };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;
  SourceLocation where;
  bool startsLine = false;  // nothing but blanks before it on its line

  bool is(TokenKind k, std::string_view t) const { return kind == k && text == t; }
  bool isPunct(std::string_view t) const { return is(TokenKind::Punct, t); }
  bool isWord(std::string_view t) const { return is(TokenKind::Identifier, t); }
};

// An identifier met in a piece of C++ code that is not reached through '.',
// '->' or '::': a candidate for a place, parameter or model name. member is
// the identifier after a '.' that follows it (model.place), if any.
struct CodeName {
  std::string name;
  SourceLocation where;
  std::string member;
};

// A piece of C++ code (an expression or a block of statements) copied from
// the source. padding reproduces the source line up to the code, blanks for
// every character but tabs, so that the code keeps its column when written
// out under a #line directive.
// An expression of the language's own grammar is kept as its tree too, and
// text is then the C++ written for it.
struct Code {
  std::string text;
  SourceLocation where;
  std::string padding;
  std::vector<CodeName> names;
  std::shared_ptr<const Expr> expr;  // null for C++ code

  // True when the code mentions name as a plain identifier.
  bool mentions(std::string_view name) const;
};

// Where a piece of C++ code ends, besides an unbalanced closing bracket and
// the end of the file: at bracket depth 0, a newline, ';' or "//" always
// ends it, and so do the listed words and, when asked, ',' and a ':' that
// closes no '?'.
struct CodeEnd {
  std::set<std::string, std::less<>> words;
  bool comma = false;
  bool colon = false;
};

// Splits a model description into tokens, and reads the pieces of C++ it
// embeds as raw text. Line comments (//) and block comments are skipped;
// newlines are tokens, since they end the constructs of the language.
class Lexer {
 public:
  static constexpr int kMaxDepth = 256;  // nesting of brackets in C++ code

  // file: the index of the source among the diagnostics' files.
  Lexer(std::string_view source, Diagnostics& diagnostics, int file = 0);

  const Token& peek() const { return Current; }
  Token take();
  // Reads C++ code from the current token on, up to where end says; the
  // current token is then the one after it.
  Code code(const CodeEnd& end);
  // The blanks before the current token on its line, as Code::padding.
  std::string padding() const;
  // Reads a block of C++ statements: the current token must be '{'; the
  // code runs to the matching '}', which it includes.
  Code block();

 private:
  struct Cursor {
    std::size_t pos = 0;
    std::size_t lineStart = 0;
    SourceLocation where;
  };

  // What one step of scanning C++ code met.
  enum class Step { Blank, Content, LastContent, End };
  // The state of a scan of C++ code.
  struct CodeScan {
    Code code;
    const CodeEnd& end;
    bool block;               // a block of statements: runs to its closing '}'
    std::vector<Token> open;  // the brackets not closed yet
    int questions = 0;        // '?' at the outermost level not matched by ':'
    bool memberNext = false;  // the next identifier follows '.', '->' or '::'
    // The line comments inside the code, [begin, end) in the source: left
    // out of its text, since C++ would join a comment ending in '\' with
    // the next line.
    std::vector<std::pair<std::size_t, std::size_t>> comments;
  };

  // Scans C++ text from the current token on; see code() and block().
  Code scanCode(const CodeEnd& end, bool block);
  Step scanCodeStep(CodeScan& scan);
  Step scanPunctInCode(CodeScan& scan);
  Step scanIdentifierInCode(CodeScan& scan);
  void lexNext();
  void skipBlanksAndComments();
  void skipBlockComment();
  void skipLiteral();
  void skipNumber();
  std::string readIdentifier();
  // A string token: the text between double quotes, on one line.
  void lexString();
  std::string paddingBefore(const Cursor& at) const;
  char at(std::size_t offset) const;
  void advance();

  std::string_view Source;
  Diagnostics& Diags;
  Cursor Here;
  Cursor TokenStart;
  Token Current;
};

}  // namespace sanc

#endif
