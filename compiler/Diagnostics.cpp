#include "compiler/Diagnostics.h"

namespace sanc {

void Diagnostics::error(SourceLocation where, std::string message) {
  if (!full()) {
    Errors.push_back({where, std::move(message)});
  }
}

std::string Diagnostics::format(const Diagnostic& diagnostic) const {
  return FileName + ":" + std::to_string(diagnostic.where.line) + ":" +
         std::to_string(diagnostic.where.column) + ": error: " + diagnostic.message;
}

}  // namespace sanc
