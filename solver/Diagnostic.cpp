#include "solver/Diagnostic.h"

namespace solver {

std::string Diagnostic::text() const {
  if (line == 0) {
    return file + ": " + message;
  }
  return file + ":" + std::to_string(line) + ": " + message;
}

InputError::InputError(Diagnostic what) : std::runtime_error(what.text()), What(std::move(what)) {}

}  // namespace solver
