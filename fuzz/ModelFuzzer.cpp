// Fuzzes the model language's front end and code generator. The input is a
// model description and, after a NUL byte, the text of every file it
// imports from. The front end must return a checked model that keeps the
// limits of what a model may expand to, whose C++ is then written in
// memory, or errors that each name a file read, a line and a column, and
// say what is wrong.
#include <algorithm>
#include <optional>
#include <string>

#include "compiler/CodeGenerator.h"
#include "compiler/FrontEnd.h"
#include "compiler/Literals.h"
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

// Places and activity instances of a model with constant counts, counted
// again here without the checker's limits; nullopt for a count, size or
// bound over globals.
std::optional<sanc_runtime::Expansion> expansionOf(const sanc::Model& model, sanc::ModelRef ref) {
  if (ref.kind == sanc::ModelKind::Atomic) {
    return model.atomics[ref.index].expansion();
  }
  const sanc::Join& join = model.joins[ref.index];
  const std::optional<long> shared = join.sharedPlaces();
  if (!shared) {
    return std::nullopt;
  }
  sanc_runtime::Expansion total{*shared, 0};
  for (const sanc::Child& child : join.children) {
    const std::optional<sanc_runtime::Expansion> each = expansionOf(model, child.model);
    const std::optional<double> copies =
        child.decl->count ? sanc::constantValue(*child.decl->count) : std::optional<double>(1.0);
    if (!each || !copies) {
      return std::nullopt;
    }
    total.places += static_cast<long>(*copies) * each->places;
    total.activities += static_cast<long>(*copies) * each->activities;
  }
  return total;
}

// What an accepted model promises: it expands within the limits (where
// the counts are known), and no constant multiplicity lets an activity
// fire without tokens.
void checkModel(const sanc::Model& model) {
  const std::optional<sanc_runtime::Expansion> expansion = expansionOf(model, model.root);
  if (expansion) {
    require(expansion->places <= sanc_runtime::kMaxPlaces);
    require(expansion->activities <= sanc_runtime::kMaxActivities);
  }
  for (const sanc::Atomic& atomic : model.atomics) {
    for (const sanc::ActivityDecl& activity : atomic.decl->activities) {
      for (const sanc::Arc& arc : activity.clauses.inputs) {
        const std::optional<double> weight =
            arc.multiplicity ? sanc::constantValue(*arc.multiplicity) : std::nullopt;
        require(!weight || (*weight >= 1 && *weight <= 32767));
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> parts = partsOf(data, size, 2);
  const std::string& description = parts[0];
  const std::optional<std::string> imported = std::find(data, data + size, '\0') == data + size
                                                  ? std::nullopt
                                                  : std::optional<std::string>(parts[1]);
  sanc::Diagnostics diagnostics("model.san");
  std::optional<sanc::Model> model =
      sanc::compileModel(description, diagnostics, [&](const std::string&) { return imported; });
  if (!model) {
    checkErrors(diagnostics);
    return 0;
  }
  require(!diagnostics.hasErrors());
  checkModel(*model);
  sanc::GeneratedCode code = sanc::generateCode(*model, "model.h", "model.cpp");
  require(!code.header.empty() && !code.source.empty());
  // The built model checks what its counts over globals expand to first.
  require(code.source.find("::expansion();\n  ChildModel = ") != std::string::npos);
  return 0;
}
