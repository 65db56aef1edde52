#include "compiler/GeneratedNames.h"

#include <map>
#include <string>

#include "compiler/AtomicWriter.h"
#include "compiler/JoinWriter.h"
#include "compiler/RewardWriter.h"
#include "compiler/StudyWriter.h"

namespace sanc {

namespace {

// What each name of the generated code stands for.
using Generated = std::map<std::string, std::string>;

void addAtomic(Generated& generated, const Atomic& atomic) {
  const std::string model = "atomic model '" + atomic.name() + "'";
  generated.emplace(AtomicWriter::className(atomic), "the class of " + model);
  for (const Action& action : atomic.actions) {
    const std::string what = "activity '" + action.activity->name.text + "' of " + model;
    generated.emplace(action.className, "a class of " + what);
    generated.emplace(action.member, what);
  }
  for (const Group& group : atomic.groups) {
    generated.emplace(group.member, "an activity of " + model);
  }
}

Generated generatedNames(const Model& model) {
  Generated generated;
  for (const Atomic& atomic : model.atomics) {
    addAtomic(generated, atomic);
  }
  for (const Join& join : model.joins) {
    generated.emplace(JoinWriter::className(join), "the class of join '" + join.name() + "'");
  }
  generated.emplace(RewardWriter::className(model), "the class of the reward model");
  for (std::size_t r = 0; r < model.rewards.size(); r++) {
    const std::string what = "reward variable '" + model.rewards[r].decl->name.text + "'";
    const std::string node = RewardWriter::nodeClass(model, r);
    generated.emplace(node, "the class of " + what);
    generated.emplace(node + "Worker", "a class of " + what);
    for (std::size_t i = 0; i < model.rewards[r].impulses.size(); i++) {
      generated.emplace(RewardWriter::impulseClass(node, i), "a class of " + what);
    }
  }
  generated.emplace(StudyWriter::className(model), "the class of the study");
  return generated;
}

void reportClash(CheckContext& context, const Name& name, const std::string& what) {
  context.error(name.where, "the name '" + name.text + "' is taken by the generated code: it is " +
                                what + "; choose another");
}

// A member of a class cannot take the class's name.
void checkMembers(CheckContext& context, const std::string& className, const std::string& what,
                  const std::vector<const Name*>& members) {
  for (const Name* member : members) {
    if (member->text == className) {
      reportClash(context, *member, what);
    }
  }
}

}  // namespace

void checkGeneratedNames(CheckContext& context, const Model& model) {
  const Generated generated = generatedNames(model);
  // Global variables are read from inside every generated class.
  for (const GlobalDecl& global : model.file->globals) {
    const auto clash = generated.find(global.name.text);
    if (clash != generated.end()) {
      reportClash(context, global.name, clash->second);
    }
  }
  for (const Atomic& atomic : model.atomics) {
    std::vector<const Name*> members;
    for (const ParamDecl& param : atomic.decl->params) members.push_back(&param.name);
    for (const PlaceDecl& place : atomic.decl->places) members.push_back(&place.name);
    for (const ActivityDecl& activity : atomic.decl->activities) {
      members.push_back(&activity.name);
    }
    checkMembers(context, AtomicWriter::className(atomic),
                 "the class of atomic model '" + atomic.name() + "'", members);
  }
  for (const Join& join : model.joins) {
    std::vector<const Name*> members;
    for (const ChildDecl& child : join.decl->children) members.push_back(&child.instance);
    for (const ShareDecl& share : join.decl->shares) members.push_back(&share.name);
    checkMembers(context, JoinWriter::className(join), "the class of join '" + join.name() + "'",
                 members);
  }
}

}  // namespace sanc
