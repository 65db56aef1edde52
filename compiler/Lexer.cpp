#include "compiler/Lexer.h"

#include <algorithm>

namespace sanc {

namespace {

bool isIdentifierStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isIdentifierChar(char c) { return isIdentifierStart(c) || (c >= '0' && c <= '9'); }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

char closerOf(char opener) { return opener == '(' ? ')' : opener == '[' ? ']' : '}'; }

}  // namespace

bool Code::mentions(std::string_view name) const {
  return std::any_of(names.begin(), names.end(),
                     [&](const CodeName& use) { return use.name == name; });
}

Lexer::Lexer(std::string_view source, Diagnostics& diagnostics, int file)
    : Source(source), Diags(diagnostics) {
  Here.where.file = file;
  lexNext();
}

char Lexer::at(std::size_t offset) const {
  return Here.pos + offset < Source.size() ? Source[Here.pos + offset] : '\0';
}

void Lexer::advance() {
  if (Here.pos >= Source.size()) {
    return;
  }
  if (Source[Here.pos] == '\n') {
    Here.where.line++;
    Here.where.column = 1;
    Here.lineStart = Here.pos + 1;
  } else {
    Here.where.column++;
  }
  Here.pos++;
}

Token Lexer::take() {
  Token taken = Current;
  lexNext();
  return taken;
}

void Lexer::skipBlockComment() {
  const SourceLocation start = Here.where;
  advance();
  advance();
  while (Here.pos < Source.size() && !(at(0) == '*' && at(1) == '/')) {
    advance();
  }
  if (Here.pos >= Source.size()) {
    Diags.error(start, "comment is not closed");
    return;
  }
  advance();
  advance();
}

void Lexer::skipBlanksAndComments() {
  for (;;) {
    if (isBlank(at(0))) {
      advance();
    } else if (at(0) == '/' && at(1) == '/') {
      while (Here.pos < Source.size() && at(0) != '\n') {
        advance();
      }
    } else if (at(0) == '/' && at(1) == '*') {
      skipBlockComment();
    } else {
      return;
    }
  }
}

std::string Lexer::readIdentifier() {
  const std::size_t start = Here.pos;
  while (isIdentifierChar(at(0))) {
    advance();
  }
  return std::string(Source.substr(start, Here.pos - start));
}

void Lexer::skipNumber() {
  // A C++ number: digits, letters (suffixes, hex digits), '.', digit
  // separators, and a sign right after an exponent letter.
  while (isIdentifierChar(at(0)) || at(0) == '.' || at(0) == '\'') {
    const char c = at(0);
    advance();
    if ((c == 'e' || c == 'E' || c == 'p' || c == 'P') && (at(0) == '+' || at(0) == '-')) {
      advance();
    }
  }
}

void Lexer::lexNext() {
  skipBlanksAndComments();
  TokenStart = Here;
  Current = Token{TokenKind::End, "", Here.where};
  const std::string_view before = Source.substr(Here.lineStart, Here.pos - Here.lineStart);
  Current.startsLine = std::all_of(before.begin(), before.end(), isBlank);
  if (Here.pos >= Source.size()) {
    return;
  }
  const char c = at(0);
  const std::size_t start = Here.pos;
  if (c == '\n') {
    advance();
    Current.kind = TokenKind::Newline;
    Current.text = "\n";
  } else if (isIdentifierStart(c)) {
    Current.kind = TokenKind::Identifier;
    Current.text = readIdentifier();
  } else if (c == '"') {
    lexString();
  } else if (isDigit(c) || (c == '.' && isDigit(at(1)))) {
    // Study values and multiplicities: digits, a fraction, an exponent.
    // "1..7" is the number 1 followed by "..".
    while (isDigit(at(0))) advance();
    if (at(0) == '.' && at(1) != '.') {
      advance();
      while (isDigit(at(0))) advance();
    }
    if ((at(0) == 'e' || at(0) == 'E') &&
        (isDigit(at(1)) || ((at(1) == '+' || at(1) == '-') && isDigit(at(2))))) {
      advance();
      advance();
      while (isDigit(at(0))) advance();
    }
    Current.kind = TokenKind::Number;
    Current.text = std::string(Source.substr(start, Here.pos - start));
  } else {
    advance();
    // The operators of two characters are one token each.
    static const std::string_view kPairs[] = {"..", "::", "<=", ">=", "==", "!=", "&&", "||"};
    const char pair[] = {c, at(0), '\0'};
    if (std::find(std::begin(kPairs), std::end(kPairs), std::string_view(pair)) !=
        std::end(kPairs)) {
      advance();
    }
    Current.kind = TokenKind::Punct;
    Current.text = std::string(Source.substr(start, Here.pos - start));
  }
}

void Lexer::lexString() {
  advance();
  const std::size_t start = Here.pos;
  while (Here.pos < Source.size() && at(0) != '"' && at(0) != '\n') {
    advance();
  }
  Current.kind = TokenKind::String;
  Current.text = std::string(Source.substr(start, Here.pos - start));
  if (at(0) != '"') {
    Diags.error(Current.where, "string is not closed");
    return;
  }
  advance();
}

std::string Lexer::paddingBefore(const Cursor& cursor) const {
  std::string padding(Source.substr(cursor.lineStart, cursor.pos - cursor.lineStart));
  for (char& c : padding) {
    if (c != '\t') {
      c = ' ';
    }
  }
  return padding;
}

void Lexer::skipLiteral() {
  const char quote = at(0);
  const SourceLocation start = Here.where;
  advance();
  while (Here.pos < Source.size() && at(0) != quote && at(0) != '\n') {
    if (at(0) == '\\') {
      advance();
    }
    advance();
  }
  if (at(0) != quote) {
    Diags.error(start,
                quote == '"' ? "string literal is not closed" : "character literal is not closed");
    return;
  }
  advance();
}

Code Lexer::code(const CodeEnd& end) { return scanCode(end, false); }

std::string Lexer::padding() const { return paddingBefore(TokenStart); }

Code Lexer::block() {
  static const CodeEnd kNoEnd;
  return scanCode(kNoEnd, true);
}

Code Lexer::scanCode(const CodeEnd& end, bool block) {
  Here = TokenStart;
  CodeScan scan{Code{}, end, block, {}, 0, false, {}};
  scan.code.where = Here.where;
  scan.code.padding = paddingBefore(Here);
  const std::size_t start = Here.pos;
  std::size_t last = start;  // just after the last character that is not blank
  for (Step step = Step::Blank; step != Step::End;) {
    step = scanCodeStep(scan);
    if (step == Step::Content) {
      last = Here.pos;
    } else if (step == Step::LastContent) {
      last = Here.pos;
      step = Step::End;
    }
  }
  for (const Token& opener : scan.open) {
    Diags.error(opener.where, "'" + opener.text + "' is not closed");
  }
  std::size_t from = start;
  for (const auto& [begin, end] : scan.comments) {
    if (begin < last) {
      scan.code.text.append(Source.substr(from, begin - from));
      from = std::min(end, last);
    }
  }
  scan.code.text.append(Source.substr(from, last - from));
  lexNext();
  return std::move(scan.code);
}

// Scans one element of C++ code: a blank, a comment, a literal, a number,
// an identifier or a punctuation character.
Lexer::Step Lexer::scanCodeStep(CodeScan& scan) {
  const char c = at(0);
  if (Here.pos >= Source.size()) {
    return Step::End;
  }
  if (isBlank(c)) {
    advance();
    return Step::Blank;
  }
  if (c == '\n' || (c == '/' && at(1) == '/')) {
    if (scan.open.empty()) {
      return Step::End;
    }
    const std::size_t comment = Here.pos;
    while (Here.pos < Source.size() && at(0) != '\n') advance();
    if (c == '/') {
      scan.comments.emplace_back(comment, Here.pos);
    }
    advance();
    return Step::Blank;
  }
  if (c == '/' && at(1) == '*') {
    skipBlockComment();
    return Step::Blank;
  }
  const bool member = scan.memberNext;
  scan.memberNext = false;
  if (c == '"' || c == '\'') {
    skipLiteral();
    return Step::Content;
  }
  if (isIdentifierStart(c)) {
    scan.memberNext = member;
    return scanIdentifierInCode(scan);
  }
  if (isDigit(c) || (c == '.' && isDigit(at(1)))) {
    skipNumber();
    return Step::Content;
  }
  return scanPunctInCode(scan);
}

Lexer::Step Lexer::scanPunctInCode(CodeScan& scan) {
  const char c = at(0);
  const bool outermost = scan.open.size() == (scan.block ? 1u : 0u);
  if (c == '(' || c == '[' || c == '{') {
    if (static_cast<int>(scan.open.size()) >= kMaxDepth) {
      Diags.error(Here.where, "brackets are nested too deeply");
      scan.open.clear();  // the unclosed brackets are the same error
      Here.pos = Source.size();
      return Step::End;
    }
    scan.open.push_back(Token{TokenKind::Punct, std::string(1, c), Here.where});
    advance();
    return Step::Content;
  }
  if (c == ')' || c == ']' || c == '}') {
    // A closer that does not match the innermost opener closes what is
    // around it: the opener is the one left open.
    while (!scan.open.empty() && closerOf(scan.open.back().text[0]) != c) {
      Diags.error(scan.open.back().where, "'" + scan.open.back().text + "' is not closed");
      scan.open.pop_back();
    }
    if (scan.open.empty()) {
      return Step::End;
    }
    scan.open.pop_back();
    advance();
    return scan.block && scan.open.empty() ? Step::LastContent : Step::Content;
  }
  if (c == ':' && at(1) == ':') {
    advance();
    advance();
    scan.memberNext = true;
    return Step::Content;
  }
  if (outermost && !scan.block) {
    if (c == ';' || (c == ',' && scan.end.comma)) {
      return Step::End;
    }
    if (c == '?') {
      scan.questions++;
    } else if (c == ':' && scan.questions > 0) {
      scan.questions--;
    } else if (c == ':' && scan.end.colon) {
      return Step::End;
    }
  }
  scan.memberNext = c == '.' || (c == '-' && at(1) == '>');
  advance();
  if (c == '-' && scan.memberNext) {
    advance();
  }
  return Step::Content;
}

Lexer::Step Lexer::scanIdentifierInCode(CodeScan& scan) {
  const Cursor start = Here;
  const std::string name = readIdentifier();
  if (scan.memberNext) {
    scan.memberNext = false;
    return Step::Content;
  }
  if (!scan.block && scan.open.empty() && scan.end.words.count(name) > 0) {
    Here = start;
    return Step::End;
  }
  CodeName use{name, start.where, ""};
  // "name . member" is a use of member in name (a reward reads model.place).
  const Cursor after = Here;
  while (isBlank(at(0))) advance();
  if (at(0) == '.' && !isDigit(at(1))) {
    advance();
    while (isBlank(at(0))) advance();
    if (isIdentifierStart(at(0))) {
      use.member = readIdentifier();
    }
  }
  if (use.member.empty()) {
    Here = after;
  }
  scan.code.names.push_back(std::move(use));
  return Step::Content;
}

}  // namespace sanc
