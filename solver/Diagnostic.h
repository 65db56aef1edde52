#ifndef SOLVER_DIAGNOSTIC_H_
#define SOLVER_DIAGNOSTIC_H_

#include <stdexcept>
#include <string>
#include <utility>
#include <variant>

namespace solver {

// What is wrong with an input file, and where.
struct Diagnostic {
  std::string file;
  unsigned long line = 0;  // 0 when the problem is the file as a whole
  std::string message;

  // "file:line: message", or "file: message" without a line.
  std::string text() const;
};

// Thrown inside the readers, which hand it back as their result.
class InputError : public std::runtime_error {
 public:
  explicit InputError(Diagnostic what);
  const Diagnostic& diagnostic() const { return What; }

 private:
  Diagnostic What;
};

// The result of a reader: the data read, or what is wrong with the input.
template <class T>
class Parsed {
 public:
  Parsed(T value) : Result(std::move(value)) {}               // NOLINT: implicit by design
  Parsed(Diagnostic problem) : Result(std::move(problem)) {}  // NOLINT: implicit by design

  bool ok() const { return std::holds_alternative<T>(Result); }
  const T& value() const { return std::get<T>(Result); }
  T& value() { return std::get<T>(Result); }
  const Diagnostic& error() const { return std::get<Diagnostic>(Result); }

 private:
  std::variant<T, Diagnostic> Result;
};

}  // namespace solver

#endif
