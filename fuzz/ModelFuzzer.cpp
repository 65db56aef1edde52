// Fuzzes the model language's front end and code generator. The input is a
// model description and, after a NUL byte, the text of every file it
// imports from. The front end must return a checked model, whose C++ is
// then written in memory, or errors that each name a file read, a line and
// a column, and say what is wrong.
#include <algorithm>
#include <optional>
#include <string>

#include "compiler/CodeGenerator.h"
#include "compiler/FrontEnd.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"

namespace {

void checkErrors(const sanc::Diagnostics& diagnostics) {
  require(diagnostics.hasErrors());
  require(diagnostics.errors().size() <= sanc::Diagnostics::kMaxErrors);
  for (const sanc::Diagnostic& error : diagnostics.errors()) {
    require(error.where.line >= 1 && error.where.column >= 1);
    require(error.where.file >= 0 &&
            static_cast<std::size_t>(error.where.file) < diagnostics.files().size());
    require(!error.message.empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> parts = partsOf(data, size, 2);
  const std::string& description = parts[0];
  const std::optional<std::string> imported =
      std::find(data, data + size, '\0') == data + size ? std::nullopt
                                                          : std::optional<std::string>(parts[1]);
  sanc::Diagnostics diagnostics("model.san");
  std::optional<sanc::Model> model =
      sanc::compileModel(description, diagnostics, [&](const std::string&) { return imported; });
  if (!model) {
    checkErrors(diagnostics);
    return 0;
  }
  require(!diagnostics.hasErrors());
  sanc::GeneratedCode code = sanc::generateCode(*model, "model.h", "model.cpp");
  require(!code.header.empty() && !code.source.empty());
  return 0;
}
