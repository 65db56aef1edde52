#ifndef COMPILER_CODEWRITER_H_
#define COMPILER_CODEWRITER_H_

#include <string>
#include <string_view>
#include <vector>

#include "compiler/Lexer.h"

namespace sanc {

// Collects one generated C++ file. Code copied from the model description
// is written under a #line directive that points at the description, at its
// own column, so that the C++ compiler reports errors in it there; the
// file's own numbering resumes after it.
class CodeWriter {
 public:
  // fileName: the generated file, sourceNames: the files of the description
  // (a location's file indexes them), as #line directives should name them.
  CodeWriter(std::string fileName, std::vector<std::string> sourceNames);

  CodeWriter& operator<<(std::string_view text);
  CodeWriter& operator<<(long number);
  // Writes code from the description on lines of its own, at its line and
  // column.
  void source(const Code& code);
  // Writes a whole generated line under a #line directive for where, so that
  // the C++ compiler reports a clash of what it declares at the description.
  void declaration(SourceLocation where, std::string_view line);
  // Writes "(", then code as source() does, then ")".
  void parenthesized(const Code& code);
  const std::string& text() const { return Text; }

 private:
  void lineDirective(int line, const std::string& file);

  std::string FileName;
  std::vector<std::string> SourceNames;
  std::string Text;
  int Line = 1;  // of the next character written
};

// text in double quotes, as a C++ string literal.
std::string quoted(std::string_view text);

}  // namespace sanc

#endif
