#include "compiler/CodeWriter.h"

#include <algorithm>

namespace sanc {

std::string quoted(std::string_view text) {
  std::string result = "\"";
  for (char c : text) {
    if (c == '\t') {
      result += "\\t";
    } else if (c == '\n') {
      result += "\\n";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      // Three octal digits: no digit after them can extend the escape.
      result +=
          "\\" + std::to_string(c >> 6) + std::to_string((c >> 3) & 7) + std::to_string(c & 7);
    } else {
      if (c == '"' || c == '\\') {
        result += '\\';
      }
      result += c;
    }
  }
  return result + "\"";
}

CodeWriter::CodeWriter(std::string fileName, std::vector<std::string> sourceNames)
    : FileName(std::move(fileName)), SourceNames(std::move(sourceNames)) {}

CodeWriter& CodeWriter::operator<<(std::string_view text) {
  Text += text;
  Line += static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  return *this;
}

CodeWriter& CodeWriter::operator<<(long number) { return *this << std::to_string(number); }

void CodeWriter::lineDirective(int line, const std::string& file) {
  *this << "#line " << line << " " << quoted(file) << "\n";
}

void CodeWriter::source(const Code& code) {
  if (!Text.empty() && Text.back() != '\n') {
    *this << "\n";
  }
  lineDirective(code.where.line, SourceNames.at(code.where.file));
  *this << code.padding << code.text << "\n";
  // The directive's own line comes first: the line after it is Line + 1.
  lineDirective(Line + 1, FileName);
}

void CodeWriter::declaration(SourceLocation where, std::string_view line) {
  lineDirective(where.line, SourceNames.at(where.file));
  *this << line << "\n";
  lineDirective(Line + 1, FileName);
}

void CodeWriter::parenthesized(const Code& code) {
  *this << "(";
  source(code);
  *this << ")";
}

}  // namespace sanc
