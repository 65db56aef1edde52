#include "compiler/Diagnostics.h"

#include "common/PrintableText.h"

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
  return printable(Files[diagnostic.where.file]) + ":" + std::to_string(diagnostic.where.line) +
         ":" + std::to_string(diagnostic.where.column) +
         ": error: " + printable(diagnostic.message);
}

}  // namespace sanc
