#ifndef COMPILER_DIAGNOSTICS_H_
#define COMPILER_DIAGNOSTICS_H_

#include <cstddef>
#include <string>
#include <vector>

namespace sanc {

// A position in the source file, both counted from 1.
struct SourceLocation {
  int line = 1;
  int column = 1;
};

struct Diagnostic {
  SourceLocation where;
  std::string message;
};

// The errors found in one source file, in the order they were found. Once
// kMaxErrors are recorded further ones are dropped, so that a broken file
// costs a bounded amount of output.
class Diagnostics {
 public:
  static constexpr std::size_t kMaxErrors = 50;

  explicit Diagnostics(std::string fileName) : FileName(std::move(fileName)) {}

  void error(SourceLocation where, std::string message);
  bool hasErrors() const { return !Errors.empty(); }
  // True once no further error would be recorded.
  bool full() const { return Errors.size() >= kMaxErrors; }
  const std::vector<Diagnostic>& errors() const { return Errors; }
  const std::string& fileName() const { return FileName; }
  // "file:line:column: error: message", one line.
  std::string format(const Diagnostic& diagnostic) const;

 private:
  std::string FileName;
  std::vector<Diagnostic> Errors;
};

}  // namespace sanc

#endif
