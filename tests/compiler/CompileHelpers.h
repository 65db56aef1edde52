#ifndef TESTS_COMPILER_COMPILEHELPERS_H_
#define TESTS_COMPILER_COMPILEHELPERS_H_

// Compiling model descriptions in the tests, and reading their errors.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "compiler/FrontEnd.h"

namespace compile_helpers {

// The errors of compiling source, each as "line:column: message".
inline std::vector<std::string> errorsOf(const std::string& source) {
  sanc::Diagnostics diagnostics("m.san");
  sanc::compileModel(source, diagnostics);
  std::vector<std::string> errors;
  for (const sanc::Diagnostic& error : diagnostics.errors()) {
    errors.push_back(std::to_string(error.where.line) + ":" + std::to_string(error.where.column) +
                     ": " + error.message);
  }
  return errors;
}

// The first error of compiling source, or "no error".
inline std::string firstError(const std::string& source) {
  const std::vector<std::string> errors = errorsOf(source);
  return errors.empty() ? "no error" : errors.front();
}

// The checked model of source, which must have no error.
inline sanc::Model compiled(const std::string& source) {
  sanc::Diagnostics diagnostics("m.san");
  std::optional<sanc::Model> model = sanc::compileModel(source, diagnostics);
  for (const sanc::Diagnostic& error : diagnostics.errors()) {
    ADD_FAILURE() << diagnostics.format(error);
  }
  return model ? std::move(*model) : sanc::Model{};
}

// A description case: a source and the first error it must give.
struct ErrorCase {
  const char* source;
  const char* error;
};

inline void expectFirstErrors(const std::vector<ErrorCase>& cases) {
  for (const ErrorCase& c : cases) {
    EXPECT_EQ(c.error, firstError(c.source)) << c.source;
  }
}

}  // namespace compile_helpers

#endif
