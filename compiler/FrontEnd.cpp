#include "compiler/FrontEnd.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <filesystem>
#include <map>
#include <sstream>

#include "common/TextFile.h"
#include "compiler/AtomicChecker.h"
#include "compiler/CheckContext.h"
#include "compiler/CodeWriter.h"
#include "compiler/CompositionChecker.h"
#include "compiler/ExpansionChecker.h"
#include "compiler/FormulaExpander.h"
#include "compiler/GeneratedNames.h"
#include "compiler/Literals.h"
#include "compiler/Parser.h"
#include "compiler/RewardChecker.h"
#include "compiler/StudyChecker.h"

namespace sanc {

namespace {

// An editor's byte-order mark is no part of the description.
std::string_view withoutByteOrderMark(std::string_view text) {
  return text.substr(byteOrderMarkLength(text));
}

// The C++ that computes a derived global from the others; a constant that
// is no value of its type is an error at the default.
std::string derivedValue(CheckContext& context, const GlobalDecl& global) {
  const Code& code = *global.derived;
  const std::optional<double> value = evaluate(*code.expr);
  if (value && isIntegerType(global.type) && *value != std::floor(*value)) {
    std::ostringstream shown;
    shown << *value;
    context.error(code.where, "the default of '" + global.name.text + "' is " + shown.str() +
                                  ", not a whole number (" + global.name.text + " is of type " +
                                  typeName(global.type) + "; write floor(...) or div(a, b))");
  }
  return std::string("sanc_runtime::derivedValue<") + typeName(global.type) + ">(" + code.text +
         ", " + sanc::quoted(global.name.text) + ")";
}

void checkGlobals(CheckContext& context, Model& model) {
  NameTable names;
  for (const GlobalDecl& global : model.file->globals) {
    if (context.usableGlobalName(global.name)) {
      names.add(context, global.name, "global variable");
    }
    if (global.derived) {
      model.globalValues.push_back(derivedValue(context, global));
      continue;
    }
    std::string problem;
    std::optional<std::string> value =
        cppLiteral(global.type, global.value ? global.value->text : "0", problem);
    if (!value) {
      context.error(global.value->where, global.value->text + " " + problem + " (" +
                                             global.name.text + " is a " + typeName(global.type) +
                                             ")");
    }
    model.globalValues.push_back(value.value_or("0"));
  }
}

// Moves the atomic models an import names from its file into file.
void importModels(const ImportDecl& decl, ModelFile& file, Diagnostics& diagnostics,
                  const FileLoader& load) {
  const std::filesystem::path folder = std::filesystem::path(diagnostics.fileName()).parent_path();
  const std::string path = (folder / decl.path.text).lexically_normal().string();
  const std::optional<std::string> text = load ? load(path) : std::nullopt;
  if (!text || text->size() > kMaxSourceSize) {
    diagnostics.error(decl.path.where,
                      text ? path + " is larger than " + std::to_string(kMaxSourceSize) + " bytes"
                           : "cannot read " + path);
    return;
  }
  ModelFile imported =
      Parser(withoutByteOrderMark(*text), diagnostics, diagnostics.addFile(path)).parse();
  for (auto name = decl.models.begin(); name != decl.models.end(); ++name) {
    auto atomic = std::find_if(imported.atomics.begin(), imported.atomics.end(),
                               [&](const AtomicDecl& a) { return a.name.text == name->text; });
    const bool twice = std::any_of(decl.models.begin(), name,
                                   [&](const Name& before) { return before.text == name->text; });
    if (twice) {
      diagnostics.error(name->where, "'" + name->text + "' is already imported on this line");
    } else if (atomic == imported.atomics.end()) {
      diagnostics.error(name->where, path + " has no atomic model '" + name->text + "'");
    } else {
      file.atomics.push_back(std::move(*atomic));
    }
  }
}

}  // namespace

std::optional<Model> compileModel(std::string_view source, Diagnostics& diagnostics,
                                  const FileLoader& load) {
  if (source.size() > kMaxSourceSize) {
    diagnostics.error(SourceLocation{},
                      "the file is larger than " + std::to_string(kMaxSourceSize) + " bytes");
    return std::nullopt;
  }
  Model model;
  model.file =
      std::make_unique<ModelFile>(Parser(withoutByteOrderMark(source), diagnostics).parse());
  if (model.file->imports.size() > kMaxImports) {
    diagnostics.error(
        model.file->imports[kMaxImports].path.where,
        "a description imports from at most " + std::to_string(kMaxImports) + " files");
    return std::nullopt;
  }
  for (const ImportDecl& decl : model.file->imports) {
    importModels(decl, *model.file, diagnostics, load);
  }
  if (diagnostics.hasErrors()) {
    return std::nullopt;
  }
  FormulaExpander(diagnostics, *model.file).expand();
  if (diagnostics.hasErrors()) {
    return std::nullopt;
  }
  CheckContext context(diagnostics, model.file->globals);
  checkGlobals(context, model);
  for (const AtomicDecl& decl : model.file->atomics) {
    model.atomics.push_back(AtomicChecker(context, decl).check());
    // C++ code reads the formulas of its model, then those of the file.
    Atomic& atomic = model.atomics.back();
    const std::vector<FormulaDecl>& fileFormulas = model.file->formulas;
    for (const std::vector<FormulaDecl>* formulas : {&decl.formulas, &fileFormulas}) {
      for (const FormulaDecl& formula : *formulas) {
        atomic.formulas.push_back(&formula);
      }
    }
  }
  std::map<std::string, int> instances;
  CompositionChecker(context, model).check(instances);
  // Rewards name instances of the tree; the study stands on its own.
  if (!diagnostics.hasErrors()) {
    ExpansionChecker(context, model).check();
    RewardChecker(context, model, instances).check();
  }
  StudyChecker(context, model).check();
  if (diagnostics.hasErrors()) {
    return std::nullopt;
  }
  // The reward model and the study are named after the top model unless
  // the description names them.
  if (model.rewardName.empty()) {
    model.rewardName = model.rootName() + "_reward";
  }
  if (model.study.name.empty()) {
    model.study.name = model.rootName() + "_study";
  }
  checkGeneratedNames(context, model);
  if (diagnostics.hasErrors()) {
    return std::nullopt;
  }
  model.files = diagnostics.files();
  return model;
}

}  // namespace sanc
