#ifndef NETIMPORT_DIAGNOSTIC_H_
#define NETIMPORT_DIAGNOSTIC_H_

#include <optional>
#include <string>
#include <utility>

// A problem found in an input file: where it is and what is wrong.
struct Diagnostic {
  std::string file;
  int line = 0;    // 1-based; 0 when the problem concerns the whole file
  int column = 0;  // 1-based; 0 when unknown
  std::string message;

  // "file:line:column: error: message", leaving out what is unknown; what
  // does not print is escaped.
  std::string text() const;
};

// What a reader returns: the value read, or the first problem found.
template <class T>
struct ReadResult {
  std::optional<T> value;
  Diagnostic error;  // meaningful only without a value

  bool ok() const { return value.has_value(); }
  static ReadResult failure(Diagnostic diagnostic) {
    ReadResult result;
    result.error = std::move(diagnostic);
    return result;
  }
  static ReadResult success(T read) {
    ReadResult result;
    result.value = std::move(read);
    return result;
  }
};

#endif
