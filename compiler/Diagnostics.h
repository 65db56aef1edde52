#ifndef COMPILER_DIAGNOSTICS_H_
#define COMPILER_DIAGNOSTICS_H_

#include <cstddef>
#include <string>
#include <vector>

namespace sanc {

// A position in a source file: the file (0 for the model description itself,
// others for files it imports from, see Diagnostics::files()), the line and
// the column, both counted from 1.
struct SourceLocation {
  int line = 1;
  int column = 1;
  int file = 0;
};

struct Diagnostic {
  SourceLocation where;
  std::string message;
};

// The errors found in a model description and the files it imports from,
// in the order they were found. Once kMaxErrors are recorded further ones are
// dropped, so that a broken file costs a bounded amount of output.
class Diagnostics {
 public:
  static constexpr std::size_t kMaxErrors = 50;

  explicit Diagnostics(std::string fileName) : Files{std::move(fileName)} {}

  void error(SourceLocation where, std::string message);
  bool hasErrors() const { return !Errors.empty(); }
  // True once no further error would be recorded.
  bool full() const { return Errors.size() >= kMaxErrors; }
  const std::vector<Diagnostic>& errors() const { return Errors; }
  // The model description's file name.
  const std::string& fileName() const { return Files.front(); }
  // The names of the files read, the description first; a location's file
  // is an index into them.
  const std::vector<std::string>& files() const { return Files; }
  // Adds a file read for the description; returns its index.
  int addFile(std::string name);
  // "file:line:column: error: message", one line: what the file or the
  // message hold that does not print is escaped.
  std::string format(const Diagnostic& diagnostic) const;

 private:
  std::vector<std::string> Files;
  std::vector<Diagnostic> Errors;
};

}  // namespace sanc

#endif
