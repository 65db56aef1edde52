#ifndef COMPILER_CODEGENERATOR_H_
#define COMPILER_CODEGENERATOR_H_

#include <string>

#include "compiler/Model.h"

namespace sanc {

// The C++ of a model: one header and one source file.
struct GeneratedCode {
  std::string header;
  std::string source;
};

// Writes the C++ of a checked model. headerPath and codePath name the
// generated files in #line directives (the model names its own files); the
// source includes the header by its file name.
GeneratedCode generateCode(const Model& model, const std::string& headerPath,
                           const std::string& codePath);

}  // namespace sanc

#endif
