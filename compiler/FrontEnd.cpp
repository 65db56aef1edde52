#include "compiler/FrontEnd.h"

#include <map>

#include "compiler/AtomicChecker.h"
#include "compiler/CheckContext.h"
#include "compiler/CompositionChecker.h"
#include "compiler/Literals.h"
#include "compiler/Parser.h"
#include "compiler/RewardChecker.h"
#include "compiler/StudyChecker.h"

namespace sanc {

namespace {

void checkGlobals(CheckContext& context, Model& model) {
  NameTable names;
  for (const GlobalDecl& global : model.file->globals) {
    if (context.usableGlobalName(global.name)) {
      names.add(context, global.name, "global variable");
    }
    std::string problem;
    std::optional<std::string> value =
        cppLiteral(global.type, global.value ? global.value->text : "0", problem);
    if (!value) {
      context.error(global.value->where, global.value->text + " " + problem + " (" +
                                             global.name.text + " is a " +
                                             typeName(global.type) + ")");
    }
    model.globalValues.push_back(value.value_or("0"));
  }
}

}  // namespace

std::optional<Model> compileModel(std::string_view source, Diagnostics& diagnostics) {
  if (source.size() > kMaxSourceSize) {
    diagnostics.error(SourceLocation{}, "the file is larger than " +
                                            std::to_string(kMaxSourceSize) + " bytes");
    return std::nullopt;
  }
  Model model;
  model.file = std::make_unique<ModelFile>(Parser(source, diagnostics).parse());
  if (diagnostics.hasErrors()) {
    return std::nullopt;
  }
  CheckContext context(diagnostics, model.file->globals);
  checkGlobals(context, model);
  for (const AtomicDecl& decl : model.file->atomics) {
    model.atomics.push_back(AtomicChecker(context, decl).check());
  }
  std::map<std::string, int> instances;
  CompositionChecker(context, model).check(instances);
  // Rewards name instances of the tree; the study stands on its own.
  if (!diagnostics.hasErrors()) {
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
  return model;
}

}  // namespace sanc
