#include "compiler/IntegerDivision.h"

#include <cctype>
#include <vector>

namespace sanc {

namespace {

struct CppToken {
  std::string text;
  SourceLocation where;
};

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Splits C++ code into identifiers, numbers and punctuation, each placed in
// the description; comments and literals are dropped.
std::vector<CppToken> tokensOf(const Code& code) {
  std::vector<CppToken> tokens;
  const std::string& text = code.text;
  SourceLocation where = code.where;
  std::size_t i = 0;
  auto step = [&](std::size_t count) {
    for (; count > 0 && i < text.size(); count--, i++) {
      if (text[i] == '\n') {
        where.line++;
        where.column = 1;
      } else {
        where.column++;
      }
    }
  };
  while (i < text.size()) {
    const char c = text[i];
    const std::size_t start = i;
    const SourceLocation at = where;
    if (text.compare(i, 2, "//") == 0) {
      while (i < text.size() && text[i] != '\n') step(1);
    } else if (text.compare(i, 2, "/*") == 0) {
      const std::size_t end = text.find("*/", i + 2);
      step(end == std::string::npos ? text.size() - i : end + 2 - i);
    } else if (c == '"' || c == '\'') {
      step(1);
      while (i < text.size() && text[i] != c && text[i] != '\n') step(text[i] == '\\' ? 2 : 1);
      step(1);
    } else if (isWordChar(c) || (c == '.' && i + 1 < text.size() && std::isdigit(text[i + 1]))) {
      while (i < text.size() && (isWordChar(text[i]) || text[i] == '.')) step(1);
      tokens.push_back({text.substr(start, i - start), at});
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      step(1);
    } else {
      const bool pair = text.compare(i, 2, "->") == 0 || text.compare(i, 2, "::") == 0 ||
                        text.compare(i, 2, "/=") == 0;
      step(pair ? 2 : 1);
      tokens.push_back({text.substr(start, i - start), at});
    }
  }
  return tokens;
}

bool isIntegerLiteral(const std::string& text) {
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) {
    return false;
  }
  const bool hex = text.size() > 1 && (text[1] == 'x' || text[1] == 'X');
  for (char c : text) {
    if (c == '.' || (!hex && (c == 'e' || c == 'E'))) {
      return false;
    }
  }
  return true;
}

}  // namespace

void reportIntegerDivisions(CheckContext& context, const Code& code,
                            const std::function<bool(const std::string&)>& isInteger) {
  const std::vector<CppToken> tokens = tokensOf(code);
  auto whole = [&](const CppToken& token) {
    return isIntegerLiteral(token.text) ||
           (isWordChar(token.text[0]) && !std::isdigit(static_cast<unsigned char>(token.text[0])) &&
            isInteger(token.text));
  };
  auto is = [&](std::size_t i, const char* text) { return i < tokens.size() && tokens[i].text == text; };
  for (std::size_t i = 1; i + 1 < tokens.size(); i++) {
    if (tokens[i].text != "/" && tokens[i].text != "/=") {
      continue;
    }
    const std::size_t left = i - 1, right = i + 1;
    // Only a plain operand on each side: a member, a call, an index or a
    // product before it may be of another type.
    const bool plainLeft =
        whole(tokens[left]) &&
        !(left > 0 && (is(left - 1, ".") || is(left - 1, "->") || is(left - 1, "::") ||
                       is(left - 1, "*") || is(left - 1, "/") || is(left - 1, "%") ||
                       is(left - 1, ")")));
    const bool plainRight = whole(tokens[right]) && !is(right + 1, "(") && !is(right + 1, "[") &&
                            !is(right + 1, ".") && !is(right + 1, "->") && !is(right + 1, "::");
    if (!plainLeft || !plainRight) {
      continue;
    }
    const std::string& a = tokens[left].text;
    const std::string& b = tokens[right].text;
    const std::string divided = a + " " + tokens[i].text + " " + b;
    const std::string real = isIntegerLiteral(b) ? b + ".0" : "double(" + b + ")";
    context.error(tokens[i].where,
                  "'" + divided +
                      "' divides whole numbers, and C++ drops the remainder; write " +
                      (tokens[i].text == "/" ? a + " / " + real + " for the quotient, or floor(" +
                                                   a + " / " + real + ") for its whole part"
                                             : a + " = floor(" + a + " / " + real +
                                                   ") to keep the whole part"));
  }
}

}  // namespace sanc
