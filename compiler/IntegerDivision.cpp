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
  auto is = [&](std::size_t i, const char* text) {
    return i < tokens.size() && tokens[i].text == text;
  };
  // An element of an array of places (q[i]) is a whole number too: the
  // token where the operand before '/' starts, or npos.
  auto leftStart = [&](std::size_t left) -> std::size_t {
    if (tokens[left].text != "]") {
      return whole(tokens[left]) ? left : std::string::npos;
    }
    int depth = 0;
    for (std::size_t t = left + 1; t-- > 0;) {
      depth += tokens[t].text == "]" ? 1 : tokens[t].text == "[" ? -1 : 0;
      if (depth == 0) {
        return t > 0 && whole(tokens[t - 1]) ? t - 1 : std::string::npos;
      }
    }
    return std::string::npos;
  };
  for (std::size_t i = 1; i + 1 < tokens.size(); i++) {
    if (tokens[i].text != "/" && tokens[i].text != "/=") {
      continue;
    }
    const std::size_t left = leftStart(i - 1), right = i + 1;
    // Only a plain operand on each side: a member, a call or a product
    // before it may be of another type.
    const bool plainLeft =
        left != std::string::npos &&
        !(left > 0 &&
          (is(left - 1, ".") || is(left - 1, "->") || is(left - 1, "::") || is(left - 1, "*") ||
           is(left - 1, "/") || is(left - 1, "%") || is(left - 1, ")")));
    const bool plainRight = whole(tokens[right]) && !is(right + 1, "(") && !is(right + 1, ".") &&
                            !is(right + 1, "->") && !is(right + 1, "::");
    if (!plainLeft || !plainRight) {
      continue;
    }
    std::string a, b = tokens[right].text;
    for (std::size_t t = left; t < i; t++) {
      a += tokens[t].text;
    }
    if (is(right + 1, "[")) {
      for (std::size_t t = right + 1, depth = 0; t < tokens.size(); t++) {
        b += tokens[t].text;
        depth += tokens[t].text == "[" ? 1 : tokens[t].text == "]" ? -1 : 0;
        if (depth == 0) break;
      }
    }
    const std::string divided = a + " " + tokens[i].text + " " + b;
    const std::string real = isIntegerLiteral(b) ? b + ".0" : "double(" + b + ")";
    context.error(tokens[i].where,
                  "'" + divided + "' divides whole numbers, and C++ drops the remainder; write " +
                      (tokens[i].text == "/"
                           ? a + " / " + real + " for the quotient, or floor(" + a + " / " + real +
                                 ") for its whole part"
                           : a + " = floor(" + a + " / " + real + ") to keep the whole part"));
  }
}

}  // namespace sanc
