#include "compiler/CompositionChecker.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "compiler/Literals.h"

namespace sanc {

namespace {

std::string withoutBlanks(const std::string& text) {
  std::string result;
  std::copy_if(text.begin(), text.end(), std::back_inserter(result),
               [](char c) { return c != ' ' && c != '\t' && c != '\n' && c != '\r'; });
  return result;
}

std::string number(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

}  // namespace

void CompositionChecker::check(std::map<std::string, int>& instances) {
  declareModels();
  // A join is checked after the joins it contains, whose shared places it
  // may share further.
  std::vector<int> order;
  std::vector<Visit> visits(Target.file->joins.size(), Visit::New);
  for (std::size_t j = 0; j < visits.size(); j++) {
    if (!orderJoins(static_cast<int>(j), visits, order)) {
      return;
    }
  }
  Target.joins.resize(visits.size());
  for (int j : order) {
    Target.joins[j] = checkJoin(Target.file->joins[j]);
  }
  if (Context.diags().hasErrors()) {
    return;
  }
  findRoot();
  std::map<std::string, SourceLocation> where;
  if (!Context.diags().hasErrors()) {
    collectInstances(Target.root, instances, where);
  }
}

bool CompositionChecker::orderJoins(int join, std::vector<Visit>& visits, std::vector<int>& order) {
  const JoinDecl& decl = Target.file->joins[join];
  if (visits[join] == Visit::Open) {
    Context.error(decl.name.where, "join '" + decl.name.text + "' contains itself");
    return false;
  }
  if (visits[join] == Visit::Done) {
    return true;
  }
  visits[join] = Visit::Open;
  for (const ChildDecl& child : decl.children) {
    const auto type = Types.find(child.model.text);
    if (type != Types.end() && type->second.kind == ModelKind::Join &&
        !orderJoins(type->second.index, visits, order)) {
      return false;
    }
  }
  visits[join] = Visit::Done;
  order.push_back(join);
  return true;
}

void CompositionChecker::declareModels() {
  NameTable names;
  for (std::size_t a = 0; a < Target.atomics.size(); a++) {
    const Name& name = Target.file->atomics[a].name;
    if (Context.usableName(name, "model") && names.add(Context, name, "atomic model")) {
      Types[name.text] = ModelRef{ModelKind::Atomic, static_cast<int>(a)};
    }
  }
  for (std::size_t j = 0; j < Target.file->joins.size(); j++) {
    const Name& name = Target.file->joins[j].name;
    if (Context.usableName(name, "model") && names.add(Context, name, "join")) {
      Types[name.text] = ModelRef{ModelKind::Join, static_cast<int>(j)};
    }
  }
}

Join CompositionChecker::checkJoin(const JoinDecl& decl) {
  Join join;
  join.decl = &decl;
  NameTable names;
  for (const ChildDecl& child : decl.children) {
    checkChild(child, join, names);
  }
  if (join.children.empty()) {
    Context.error(decl.name.where, "join '" + decl.name.text + "' has no children");
  }
  if (join.children.size() == decl.children.size()) {
    checkShares(join);
  }
  return join;
}

void CompositionChecker::checkChild(const ChildDecl& decl, Join& join, NameTable& names) {
  if (!Context.usableName(decl.instance, "child") || !names.add(Context, decl.instance, "child")) {
    return;
  }
  const auto type = Types.find(decl.model.text);
  if (type == Types.end()) {
    Context.error(decl.model.where, "there is no atomic model or join '" + decl.model.text + "'");
    return;
  }
  const ModelRef model = type->second;
  const std::size_t params =
      model.kind == ModelKind::Atomic ? Target.atomics[model.index].decl->params.size() : 0;
  if (decl.arguments.size() != params) {
    Context.error(decl.model.where, "'" + decl.model.text + "' takes " + std::to_string(params) +
                                        " argument" + (params == 1 ? "" : "s") + ", not " +
                                        std::to_string(decl.arguments.size()));
    return;
  }
  for (const Code& argument : decl.arguments) {
    for (const CodeName& use : argument.names) {
      if (use.name == "index" && !decl.count) {
        Context.error(use.where, "'index' is the number of a copy of a repeated child (" +
                                     decl.instance.text + " * count), from 0");
        return;
      }
    }
  }
  if (decl.count) {
    const std::optional<double> count = constantValue(*decl.count);
    if (count && (*count < 0 || *count > kMaxCopies || *count != static_cast<long>(*count))) {
      Context.error(decl.count->where, "a number of copies must be a whole number from 0 to " +
                                           std::to_string(kMaxCopies));
      return;
    }
  }
  join.children.push_back(Child{&decl, model});
}

void CompositionChecker::checkShares(Join& join) {
  NameTable names;
  std::map<std::string, std::string> sharedAs;  // "child.place" -> shared name
  for (const ShareDecl& decl : join.decl->shares) {
    if (!Context.usableName(decl.name, "shared place", false) ||
        !names.add(Context, decl.name, "shared place")) {
      continue;
    }
    Share share;
    share.name = decl.name.text;
    if (decl.members.empty()) {
      shareByName(decl, share, join);
    } else {
      shareByMembers(decl, share, join);
    }
    if (share.members.empty()) {
      continue;
    }
    for (const ShareMember& member : share.members) {
      const std::string key = join.children[member.child].instance() + "." + member.place;
      const auto [entry, added] = sharedAs.emplace(key, share.name);
      if (!added) {
        Context.error(decl.name.where,
                      "the place '" + key + "' is already shared as '" + entry->second + "'");
        return;
      }
    }
    if (sizesAgree(decl, share, join)) {
      checkInitialMarkings(decl, share, join);
    }
    join.shares.push_back(std::move(share));
  }
}

void CompositionChecker::shareByName(const ShareDecl& decl, Share& share, const Join& join) {
  std::vector<std::string> holders;  // the instances that have the place
  std::string lacking;               // the first child that has none
  for (std::size_t c = 0; c < join.children.size(); c++) {
    const std::vector<std::string> places = placesOf(join.children[c].model);
    if (std::find(places.begin(), places.end(), decl.name.text) != places.end()) {
      share.members.push_back(ShareMember{static_cast<int>(c), decl.name.text});
      holders.push_back(join.children[c].instance());
    } else if (lacking.empty()) {
      lacking = join.children[c].instance();
    }
  }
  if (share.members.empty()) {
    Context.error(decl.name.where,
                  "no child of join '" + join.name() + "' has a place '" + decl.name.text + "'");
  } else if (share.members.size() == 1 && !join.children[share.members[0].child].decl->count) {
    Context.error(decl.name.where, "only '" + join.children[share.members[0].child].instance() +
                                       "' has a place '" + decl.name.text +
                                       "'; a shared place needs two children");
    share.members.clear();
  } else if (!lacking.empty()) {
    // A misspelt place in one child must not silently leave it out of the
    // sharing: children that share a place among themselves are named.
    std::string list;
    for (const std::string& holder : holders) {
      list += (list.empty() ? "" : ", ") + holder;
    }
    Context.error(decl.name.where, "'" + lacking + "' has no place '" + decl.name.text +
                                       "'; to share it among some children only, name them: "
                                       "share " + decl.name.text + " in " + list);
    share.members.clear();
  }
}

void CompositionChecker::shareByMembers(const ShareDecl& decl, Share& share, const Join& join) {
  std::set<int> children;
  for (const QualifiedName& member : decl.members) {
    const auto child =
        std::find_if(join.children.begin(), join.children.end(),
                     [&](const Child& c) { return c.instance() == member.model.text; });
    if (child == join.children.end()) {
      Context.error(member.model.where,
                    "join '" + join.name() + "' has no child '" + member.model.text + "'");
      share.members.clear();
      return;
    }
    const int index = static_cast<int>(child - join.children.begin());
    const std::vector<std::string> places = placesOf(child->model);
    if (std::find(places.begin(), places.end(), member.member.text) == places.end()) {
      Context.error(member.member.where, "'" + member.model.text + "' (" + modelName(child->model) +
                                             ") has no place '" + member.member.text + "'");
      share.members.clear();
      return;
    }
    if (!children.insert(index).second) {
      Context.error(member.model.where, "'" + member.model.text + "' is listed twice");
      share.members.clear();
      return;
    }
    share.members.push_back(ShareMember{index, member.member.text});
  }
  std::sort(share.members.begin(), share.members.end(),
            [](const ShareMember& a, const ShareMember& b) { return a.child < b.child; });
  if (share.members.size() == 1 && !join.children[share.members[0].child].decl->count) {
    Context.error(decl.name.where, "a shared place needs two children");
    share.members.clear();
  }
}

bool CompositionChecker::sizesAgree(const ShareDecl& decl, Share& share, const Join& join) {
  auto described = [](int size, const std::string& code) {
    return size == 0            ? std::string("a place")
           : size == kBuiltSize ? "an array sized by " + code
                                : "an array of " + std::to_string(size) + " places";
  };
  const Child& first = join.children[share.members.front().child];
  share.size = placeSize(first.model, share.members.front().place, share.sizeCode);
  for (const ShareMember& member : share.members) {
    const Child& child = join.children[member.child];
    std::string code;
    const int size = placeSize(child.model, member.place, code);
    // Arrays sized when the model is built agree when their sizes are
    // written alike.
    if (size != share.size || code != share.sizeCode) {
      Context.error(decl.name.where, "the places shared as '" + share.name +
                                         "' differ: " + described(share.size, share.sizeCode) +
                                         " in '" + first.instance() + "', " +
                                         described(size, code) + " in '" + child.instance() + "'");
      return false;
    }
  }
  return true;
}

void CompositionChecker::checkInitialMarkings(const ShareDecl& decl, const Share& share,
                                              const Join& join) {
  std::string first;
  std::string firstChild;
  for (const ShareMember& member : share.members) {
    const Child& child = join.children[member.child];
    const std::string marking = initialMarking(child.model, member.place);
    if (marking.empty()) {
      Context.error(decl.name.where, "the initial marking of '" + member.place + "' in '" +
                                         child.instance() +
                                         "' depends on a parameter, so the children sharing '" +
                                         share.name + "' may start it differently");
      return;
    }
    if (firstChild.empty()) {
      first = marking;
      firstChild = child.instance();
    } else if (marking != first) {
      Context.error(decl.name.where, "the children sharing '" + share.name +
                                         "' start it differently: " + first + " in '" + firstChild +
                                         "', " + marking + " in '" + child.instance() + "'");
      return;
    }
  }
}

void CompositionChecker::findRoot() {
  std::set<std::string> used;
  for (const Join& join : Target.joins) {
    for (const Child& child : join.children) {
      used.insert(modelName(child.model));
    }
  }
  std::vector<std::pair<ModelRef, const Name*>> tops;
  for (std::size_t j = 0; j < Target.joins.size(); j++) {
    if (used.count(Target.joins[j].name()) == 0) {
      tops.push_back({ModelRef{ModelKind::Join, static_cast<int>(j)}, &Target.joins[j].decl->name});
    }
  }
  for (std::size_t a = 0; a < Target.atomics.size(); a++) {
    if (used.count(Target.atomics[a].name()) == 0) {
      tops.push_back(
          {ModelRef{ModelKind::Atomic, static_cast<int>(a)}, &Target.atomics[a].decl->name});
    }
  }
  if (tops.empty()) {
    Context.error(SourceLocation{}, "the file describes no model: it has no atomic model");
    return;
  }
  Target.root = tops.front().first;
  for (std::size_t t = 1; t < tops.size(); t++) {
    Context.error(tops[t].second->where,
                  "'" + tops[t].second->text + "' is not part of '" + tops.front().second->text +
                      "'; the models of a file must form one tree under one top model");
  }
}

void CompositionChecker::collectInstances(ModelRef model, std::map<std::string, int>& instances,
                                          std::map<std::string, SourceLocation>& where) {
  if (model.kind == ModelKind::Atomic) {
    // The top model is an atomic model: its instance is named after it.
    const Name& name = Target.atomics[model.index].decl->name;
    instances.emplace(name.text, model.index);
    where.emplace(name.text, name.where);
    return;
  }
  if (model.index == Target.root.index && Target.root.kind == ModelKind::Join) {
    Target.joinInstances.emplace(Target.joins[model.index].name(), model.index);
  }
  for (const Child& child : Target.joins[model.index].children) {
    if (child.model.kind == ModelKind::Join) {
      Target.joinInstances.emplace(child.instance(), child.model.index);
      collectInstances(child.model, instances, where);
      continue;
    }
    const auto [entry, added] = instances.emplace(child.instance(), child.model.index);
    where.emplace(child.instance(), child.decl->instance.where);
    if (!added && entry->second != child.model.index) {
      Context.error(child.decl->instance.where,
                    "the instance name '" + child.instance() + "' already stands for '" +
                        Target.atomics[entry->second].name() + "' (" +
                        lineOf(where[child.instance()]) + "); rewards could not tell them apart");
    }
  }
}

std::vector<std::string> CompositionChecker::placesOf(ModelRef model) const {
  std::vector<std::string> places;
  if (model.kind == ModelKind::Atomic) {
    for (const PlaceDecl& place : Target.atomics[model.index].decl->places) {
      places.push_back(place.name.text);
    }
  } else {
    for (const Share& share : Target.joins[model.index].shares) {
      places.push_back(share.name);
    }
  }
  return places;
}

int CompositionChecker::placeSize(ModelRef model, const std::string& place,
                                  std::string& sizeCode) const {
  if (model.kind == ModelKind::Atomic) {
    const Atomic& atomic = Target.atomics[model.index];
    const int index = atomic.placeIndex(place);
    sizeCode = atomic.placeSizeCode[index];
    return atomic.placeSizes[index];
  }
  for (const Share& share : Target.joins[model.index].shares) {
    if (share.name == place) {
      sizeCode = share.sizeCode;
      return share.size;
    }
  }
  return 0;
}

std::string CompositionChecker::initialMarking(ModelRef model, const std::string& place) const {
  if (model.kind == ModelKind::Join) {
    for (const Share& share : Target.joins[model.index].shares) {
      if (share.name == place) {
        const ShareMember& first = share.members.front();
        return initialMarking(Target.joins[model.index].children[first.child].model, first.place);
      }
    }
    return "";
  }
  const AtomicDecl& atomic = *Target.atomics[model.index].decl;
  for (const PlaceDecl& decl : atomic.places) {
    if (decl.name.text != place) {
      continue;
    }
    if (!decl.initial) {
      return "0";
    }
    for (const ParamDecl& param : atomic.params) {
      if (decl.initial->mentions(param.name.text)) {
        return "";
      }
    }
    const std::optional<double> value = constantValue(*decl.initial);
    return value ? number(*value) : withoutBlanks(decl.initial->text);
  }
  return "";
}

std::string CompositionChecker::modelName(ModelRef model) const {
  return model.kind == ModelKind::Atomic ? Target.atomics[model.index].name()
                                         : Target.joins[model.index].name();
}

}  // namespace sanc
