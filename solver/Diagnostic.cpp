#include "solver/Diagnostic.h"

#include "common/PrintableText.h"

namespace solver {

std::string Diagnostic::text() const {
  if (line == 0) {
    return printable(file) + ": " + printable(message);
  }
  return printable(file) + ":" + std::to_string(line) + ": " + printable(message);
}

InputError::InputError(Diagnostic what) : std::runtime_error(what.text()), What(std::move(what)) {}

}  // namespace solver
