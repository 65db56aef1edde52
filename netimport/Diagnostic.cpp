#include "netimport/Diagnostic.h"

#include "common/PrintableText.h"

std::string Diagnostic::text() const {
  std::string where = printable(file);
  if (line > 0) {
    where += ":" + std::to_string(line);
    if (column > 0) {
      where += ":" + std::to_string(column);
    }
  }
  return where + ": error: " + printable(message);
}
