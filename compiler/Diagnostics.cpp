#include "compiler/Diagnostics.h"

namespace sanc {

void Diagnostics::error(SourceLocation where, std::string message) {
  if (!full()) {
    Errors.push_back({where, std::move(message)});
  }
}

int Diagnostics::addFile(std::string name) {
  Files.push_back(std::move(name));
  return static_cast<int>(Files.size()) - 1;
}

std::string Diagnostics::format(const Diagnostic& diagnostic) const {
  return Files[diagnostic.where.file] + ":" + std::to_string(diagnostic.where.line) + ":" +
         std::to_string(diagnostic.where.column) + ": error: " + diagnostic.message;
}

}  // namespace sanc
