#include "compiler/AtomicWriter.h"

#include <algorithm>
#include <functional>

#include "compiler/Literals.h"

namespace sanc {

namespace {

const char* distributionOf(Timing timing) {
  switch (timing) {
    case Timing::Rate:
      return "Exponential";
    case Timing::Deterministic:
      return "Deterministic";
    case Timing::Erlang:
      return "Erlang";
    case Timing::Instantaneous:
      return "Instantaneous";
  }
  return "";
}

// A constant's text as a whole number, when code is one.
std::optional<std::string> wholeConstant(const std::optional<Code>& code) {
  if (!code) {
    return std::string("1");
  }
  const std::optional<double> value = constantValue(*code);
  if (!value) {
    return std::nullopt;
  }
  return std::to_string(static_cast<long>(*value));
}

// The clauses of action: its activity's, then its case's.
std::vector<const Clauses*> clausesOf(const Action& action) {
  std::vector<const Clauses*> clauses = {&action.activity->clauses};
  if (action.caseDecl) {
    clauses.push_back(&action.caseDecl->clauses);
  }
  return clauses;
}

}  // namespace

std::string AtomicWriter::parameterList(const std::string& attribute) const {
  std::string list;
  for (const ParamDecl& param : Decl.params) {
    list += (list.empty() ? "" : ", ") + attribute + typeName(param.type) + " " + param.name.text;
  }
  return list;
}

std::string AtomicWriter::actionParameters(const Action& action) const {
  const std::string parameters = parameterList();
  if (!action.activity->family) {
    return parameters;
  }
  return parameters + (parameters.empty() ? "" : ", ") + "int " +
         action.activity->family->index.text;
}

std::string AtomicWriter::memberList(bool initialized) const {
  std::string list;
  for (const ParamDecl& param : Decl.params) {
    list += (list.empty() ? "" : ", ") + param.name.text +
            (initialized ? "(" + param.name.text + ")" : "");
  }
  return list;
}

void AtomicWriter::declare(CodeWriter& out) const {
  const std::string name = className(Model);
  out << "// The atomic model " << Decl.name.text << ". Each activity caches a pointer to the\n"
      << "// marking of every place it touches (<place>_Mark), registered with the place so\n"
      << "// that it follows the place's storage when a join shares the place.\n"
      << "class " << name << " : public SANModel {\n public:\n";
  for (const Action& action : Model.actions) {
    declareAction(out, action);
  }
  out << "  // The places, in state-vector order; owned.\n";
  for (std::size_t p = 0; p < Decl.places.size(); p++) {
    out << "  " << placeClass(Model.placeSizes[p]) << "* " << Decl.places[p].name.text << ";\n";
  }
  out << "\n";
  for (const Action& action : Model.actions) {
    if (action.activity->family) {
      out << "  std::vector<std::unique_ptr<" << action.className << ">> " << action.member
          << ";  // one per index\n";
    } else {
      out << "  " << action.className << " " << action.member << ";\n";
    }
  }
  out << "\n  EmptyGroup ImmediateGroup;\n"
      << "  int CopyNumber = 0;  // which copy of a repeated child it is, from 0\n";
  for (const Group& group : Model.groups) {
    if (group.isCaseGroup && Model.actions[group.firstAction].activity->family) {
      out << "  std::vector<std::unique_ptr<PostselectGroup>> " << group.member << ";\n";
    } else if (group.isCaseGroup) {
      out << "  PostselectGroup " << group.member << ";\n";
    }
  }
  out << "\n  " << (Decl.params.size() == 1 ? "explicit " : "") << name << "(" << parameterList()
      << ");\n  ~" << name << "() override;\n"
      << "  // The places and activity instances the model is built with.\n"
      << "  static sanc_runtime::Expansion expansion() { return " << expansionCode()
      << "; }\n};\n\n";
}

std::string AtomicWriter::expansionCode() const {
  long places = 0;
  std::string builtPlaces;
  for (std::size_t p = 0; p < Model.placeSizes.size(); p++) {
    const int size = Model.placeSizes[p];
    if (size == kBuiltSize) {
      builtPlaces += " + " + Model.placeSizeCode[p];
    } else {
      places += size == 0 ? 1 : size;
    }
  }
  long activities = 0;
  std::string familyMembers;
  for (const Group& group : Model.groups) {
    const ActivityDecl& activity = *Model.actions[group.firstAction].activity;
    if (!activity.family) {
      activities += group.numActions;
      continue;
    }
    const FamilyDecl& family = *activity.family;
    familyMembers += " + " + std::to_string(group.numActions) + " * sanc_runtime::familySize(" +
                     family.first.text + ", " + family.last.text + ", " + quoted(Decl.name.text) +
                     ", " + quoted(activity.name.text) + ", " +
                     quoted(toSource(*family.first.expr)) + ", " +
                     quoted(toSource(*family.last.expr)) + ")";
  }
  return "{" + std::to_string(places) + builtPlaces + ", " + std::to_string(activities) +
         familyMembers + "}";
}

void AtomicWriter::declareAction(CodeWriter& out, const Action& action) const {
  const ActivityDecl& activity = *action.activity;
  out << "  class " << action.className << " : public Activity {\n   public:\n";
  for (int place : action.touched) {
    out << "    " << placeClass(Model.placeSizes[place]) << "* " << placeName(place)
        << "_Place = nullptr;\n";
    if (Model.placeSizes[place] == 0) {
      out << "    short* " << placeName(place) << "_Mark = nullptr;\n";
    }
  }
  for (const ParamDecl& param : Decl.params) {
    out << "    " << typeName(param.type) << " " << param.name.text << ";\n";
  }
  const std::string parameters = actionParameters(action);
  if (activity.family) {
    out << "    int " << activity.family->index.text << ";  // its index in the family\n";
  }
  out << "    double* TheDistributionParameters;  // owned\n\n"
      << "    "
      << (parameters.find(',') == std::string::npos && !parameters.empty() ? "explicit " : "")
      << action.className << "(" << parameters << ");\n"
      << "    ~" << action.className << "() override;\n"
      << "    bool Enabled() override;\n"
      << "    double Rate() override;\n"
      << "    double Weight() override;\n"
      << "    bool ReactivationPredicate() override;\n"
      << "    bool ReactivationFunction() override;\n"
      << "    double SampleDistribution() override;\n"
      << "    double* ReturnDistributionParameters() override;\n"
      << "    int Rank() override;\n"
      << "    BaseActionClass* Fire() override;\n"
      << "    void LinkVariables() override;\n";
  if (!tokenNeeds(action).empty()) {
    out << "    void EnablingNeeds(std::vector<TokenNeed>& needs) override;\n";
  }
  if (activity.timing == Timing::Deterministic) {
    out << "    double DeterministicParamValue();\n";
  } else if (activity.timing == Timing::Erlang) {
    out << "    double ErlangParamM() override;\n";
  }
  out << "  };\n\n";
}

void AtomicWriter::define(CodeWriter& out) const {
  defineConstructor(out);
  const std::string name = className(Model);
  out << name << "::~" << name << "() {\n"
      << "  for (int i = 0; i < NumLocalPlaces(); i++) {\n"
      << "    delete Places[i];\n  }\n}\n\n";
  for (const Action& action : Model.actions) {
    defineAction(out, action);
  }
}

void AtomicWriter::defineConstructor(CodeWriter& out) const {
  const std::string name = className(Model);
  out << name << "::" << name << "(" << parameterList("[[maybe_unused]] ") << ")";
  if (!Decl.params.empty()) {
    std::string separator = "\n    : ";
    for (const Action& action : Model.actions) {
      if (!action.activity->family) {
        out << separator << action.member << "(" << memberList(false) << ")";
        separator = ",\n      ";
      }
    }
  }
  out << " {\n";
  for (const Group& group : Model.groups) {
    if (!group.isCaseGroup || Model.actions[group.firstAction].activity->family) {
      continue;
    }
    out << "  " << group.member << ".initialize(" << group.numActions << ", "
        << quoted(group.member) << ");\n";
    for (int a = group.firstAction; a < group.firstAction + group.numActions; a++) {
      out << "  " << group.member << ".appendGroup(&" << Model.actions[a].member << ");\n";
    }
  }
  out << "  std::vector<Activity*> InitialActionList = {";
  const char* separator = "";
  for (const Action& action : Model.actions) {
    if (!action.activity->family) {
      out << separator << "&" << action.member;
      separator = ", ";
    }
  }
  out << "};\n  std::vector<BaseGroupClass*> InitialGroupList = {";
  separator = "";
  for (const Group& group : Model.groups) {
    if (!Model.actions[group.firstAction].activity->family) {
      out << separator << "&" << group.member;
      separator = ", ";
    }
  }
  out << "};\n";
  for (const Group& group : Model.groups) {
    if (Model.actions[group.firstAction].activity->family) {
      defineFamily(out, group);
    }
  }
  definePlaces(out);
  checkMultiplicities(out);
  out << "  initializeSANModelNow(" << quoted(Decl.name.text)
      << ", static_cast<int>(InitialPlaces.size()), InitialPlaces.data(), 0,\n"
      << "                        nullptr, static_cast<int>(InitialActionList.size()),\n"
      << "                        InitialActionList.data(), "
         "static_cast<int>(InitialGroupList.size()),\n"
      << "                        InitialGroupList.data());\n";
  defineArcs(out);
  out << "  for (Activity* activity : InitialActionList) {\n    activity->LinkVariables();\n  "
         "}\n}\n\n";
}

void AtomicWriter::definePlaces(CodeWriter& out) const {
  for (std::size_t p = 0; p < Decl.places.size(); p++) {
    const PlaceDecl& place = Decl.places[p];
    const int size = Model.placeSizes[p];
    out << "  " << place.name.text << " = newObject<" << placeClass(size) << ">("
        << quoted(place.name.text) << ", ";
    if (size > 0) {
      out << static_cast<long>(size) << ", ";
    } else if (size == kBuiltSize) {
      out << Model.placeSizeCode[p] << ", ";
    }
    const std::optional<std::string> constant = wholeConstant(place.initial);
    if (!place.initial) {
      out << "0";
    } else if (constant) {
      out << *constant;
    } else {
      out << "sanc_runtime::initialMarking(";
      out.source(*place.initial);
      out << "    , " << quoted(Decl.name.text) << ", " << quoted(place.name.text) << ")";
    }
    out << ");\n";
  }
  out << "  std::vector<BaseStateVariableClass*> InitialPlaces = {";
  for (std::size_t p = 0; p < Decl.places.size(); p++) {
    out << (p ? ", " : "") << Decl.places[p].name.text;
  }
  out << "};\n";
}

bool AtomicWriter::readsPlace(const Code& code) const {
  return std::any_of(Decl.places.begin(), Decl.places.end(),
                     [&](const PlaceDecl& place) { return code.mentions(place.name.text); });
}

void AtomicWriter::checkMultiplicities(CodeWriter& out) const {
  for (const ActivityDecl& activity : Decl.activities) {
    std::vector<const Arc*> arcs;
    for (const Arc& arc : activity.clauses.inputs) arcs.push_back(&arc);
    for (const Arc& arc : activity.clauses.outputs) arcs.push_back(&arc);
    for (const CaseDecl& caseDecl : activity.cases) {
      for (const Arc& arc : caseDecl.clauses.outputs) arcs.push_back(&arc);
    }
    for (const Arc* arc : arcs) {
      if (!arc->multiplicity || wholeConstant(arc->multiplicity) ||
          readsPlace(*arc->multiplicity)) {
        continue;
      }
      out << "  sanc_runtime::arcMultiplicity(";
      out.source(*arc->multiplicity);
      out << "    , " << quoted(Decl.name.text) << ", " << quoted(activity.name.text) << ", "
          << quoted(arc->place.text + (arc->index ? "[" + arc->index->text + "]" : "")) << ");\n";
    }
  }
}

void AtomicWriter::defineArcs(CodeWriter& out) const {
  // The members of a family each get what a single activity gets.
  auto forEach = [&](const Action& action,
                     const std::function<std::string(const std::string&)>& statement) {
    if (action.activity->family) {
      out << "  for (auto& Member : " << action.member << ") {\n  " << statement("(*Member)")
          << "  }\n";
    } else {
      out << statement(action.member);
    }
  };
  for (const Action& action : Model.actions) {
    for (int place : action.touched) {
      forEach(action, [&](const std::string& activity) {
        return "  " + activity + "." + placeName(place) + "_Place = " + placeName(place) + ";\n";
      });
    }
  }
  for (const Action& action : Model.actions) {
    for (int place : action.affected) {
      forEach(action, [&](const std::string& activity) {
        return "  AddAffectArc(" + placeName(place) + ", &" + activity + ");\n";
      });
    }
  }
  for (const Action& action : Model.actions) {
    for (int place : action.enabling) {
      forEach(action, [&](const std::string& activity) {
        return "  AddEnableArc(" + placeName(place) + ", &" + activity + ");\n";
      });
    }
  }
}

void AtomicWriter::defineFamily(CodeWriter& out, const Group& group) const {
  const Action& first = Model.actions[group.firstAction];
  const FamilyDecl& family = *first.activity->family;
  const std::string& name = first.activity->name.text;
  out << "  for (int FamilyIndex = sanc_runtime::familyBound(" << family.first.text << ", "
      << quoted(Decl.name.text) << ", " << quoted(name) << ", "
      << quoted(toSource(*family.first.expr)) << "),\n"
      << "           FamilyEnd = sanc_runtime::familyBound(" << family.last.text << ", "
      << quoted(Decl.name.text) << ", " << quoted(name) << ", "
      << quoted(toSource(*family.last.expr)) << ");\n"
      << "       FamilyIndex <= FamilyEnd; FamilyIndex++) {\n";
  const std::string arguments =
      memberList(false) + (Decl.params.empty() ? "" : ", ") + "FamilyIndex";
  for (int a = group.firstAction; a < group.firstAction + group.numActions; a++) {
    const Action& action = Model.actions[a];
    out << "    " << action.member << ".push_back(std::make_unique<" << action.className << ">("
        << arguments << "));\n"
        << "    InitialActionList.push_back(" << action.member << ".back().get());\n";
  }
  if (group.isCaseGroup) {
    out << "    " << group.member << ".push_back(std::make_unique<PostselectGroup>());\n"
        << "    " << group.member << ".back()->initialize(" << static_cast<long>(group.numActions)
        << ", " << quoted(group.member) << ");\n";
    for (int a = group.firstAction; a < group.firstAction + group.numActions; a++) {
      out << "    " << group.member << ".back()->appendGroup(" << Model.actions[a].member
          << ".back().get());\n";
    }
    out << "    InitialGroupList.push_back(" << group.member << ".back().get());\n";
  } else {
    out << "    InitialGroupList.push_back(" << first.member << ".back().get());\n";
  }
  // Its number in the group table, known only now.
  out << "    InitialGroupList.back()->setGroupId(static_cast<int>(InitialGroupList.size()) - 1);\n"
      << "  }\n";
}

void AtomicWriter::defineAction(CodeWriter& out, const Action& action) const {
  const ActivityDecl& activity = *action.activity;
  const std::string scope = className(Model) + "::" + action.className;
  std::string initializers = memberList(true);
  if (activity.family) {
    const std::string& index = activity.family->index.text;
    initializers += (initializers.empty() ? "" : ", ") + index + "(" + index + ")";
  }
  // A member of a family is named after its index: serve[2].
  const std::string name = activity.family ? "sanc_runtime::familyName(" + quoted(action.member) +
                                                 ", " + activity.family->index.text + ").c_str()"
                                           : quoted(action.member);
  out << "/* " << action.member << " */\n\n"
      << scope << "::" << action.className << "(" << actionParameters(action) << ")"
      << (initializers.empty() ? "" : " : " + initializers) << " {\n"
      << "  TheDistributionParameters = newArray<double>("
      << (activity.timing == Timing::Erlang ? 2L : 1L) << ");\n"
      << "  ActivityInitialize(" << name << ", " << action.group << ", "
      << distributionOf(activity.timing) << ", RaceEnabled, "
      << static_cast<long>(action.affected.size()) << ", "
      << static_cast<long>(action.enabling.size()) << ", false);\n}\n\n"
      << scope << "::~" << action.className << "() { delete[] TheDistributionParameters; }\n\n"
      << "void " << scope << "::LinkVariables() {\n";
  for (int place : action.touched) {
    if (Model.placeSizes[place] == 0) {
      out << "  " << placeName(place) << "_Place->addHolder(&" << placeName(place) << "_Mark);\n";
    }
  }
  out << "}\n\n";
  defineEnabled(out, action, scope);
  defineNeeds(out, action, scope);
  defineTiming(out, action, scope);
  defineChoice(out, action, scope);
  defineFire(out, action, scope);
}

void AtomicWriter::defineEnabled(CodeWriter& out, const Action& action,
                                 const std::string& scope) const {
  std::vector<const Code*> codes;
  for (const Clauses* clauses : clausesOf(action)) {
    for (const Arc& arc : clauses->inputs) {
      if (arc.multiplicity) codes.push_back(&*arc.multiplicity);
    }
    if (clauses->guard) codes.push_back(&*clauses->guard);
  }
  out << "bool " << scope << "::Enabled() {\n  OldEnabled = NewEnabled;\n";
  bindPlaces(out, action, codes, false);
  out << "  NewEnabled = ";
  const char* separator = "";
  for (const Clauses* clauses : clausesOf(action)) {
    for (const Arc& arc : clauses->inputs) {
      out << separator << cellOf(arc) << " >= ";
      writeMultiplicity(out, arc);
      separator = " && ";
    }
    if (clauses->guard) {
      out << separator;
      out.parenthesized(*clauses->guard);
      separator = " && ";
    }
  }
  if (*separator == '\0') {
    out << "true";
  }
  out << ";\n  return NewEnabled;\n}\n\n";
}

std::vector<std::pair<std::string, long>> AtomicWriter::tokenNeeds(const Action& action) const {
  std::vector<std::pair<std::string, long>> needs;
  for (const Arc& arc : action.activity->clauses.inputs) {
    const std::optional<std::string> constant = wholeConstant(arc.multiplicity);
    if (!constant) {
      break;
    }
    const long tokens = std::stol(*constant);
    if (!arc.index && tokens > 0) {
      needs.emplace_back(arc.place.text + "_Place", tokens);
    }
  }
  return needs;
}

void AtomicWriter::defineNeeds(CodeWriter& out, const Action& action,
                               const std::string& scope) const {
  const std::vector<std::pair<std::string, long>> needs = tokenNeeds(action);
  if (needs.empty()) {
    return;
  }
  out << "void " << scope << "::EnablingNeeds(std::vector<TokenNeed>& needs) {\n";
  for (const auto& need : needs) {
    out << "  needs.push_back({" << need.first << ", " << need.second << "});\n";
  }
  out << "}\n\n";
}

void AtomicWriter::defineTiming(CodeWriter& out, const Action& action,
                                const std::string& scope) const {
  const ActivityDecl& activity = *action.activity;
  const bool hasRate = activity.timing == Timing::Rate || activity.timing == Timing::Erlang;
  if (hasRate) {
    defineReturning(out, "double " + scope + "::Rate()", *activity.time, action);
  } else {
    out << "double " << scope << "::Rate() { return 0.0; }\n\n";
  }
  out << "double " << scope << "::SampleDistribution() {\n  return ";
  switch (activity.timing) {
    case Timing::Rate:
      out << "TheDistribution->Exponential(Rate());\n}\n\n";
      break;
    case Timing::Deterministic:
      out << "DeterministicParamValue();\n}\n\n";
      defineReturning(out, "double " + scope + "::DeterministicParamValue()", *activity.time,
                      action);
      break;
    case Timing::Erlang:
      out << "TheDistribution->Erlang(ErlangParamM(), ErlangParamM() / Rate());\n}\n\n";
      defineReturning(out, "double " + scope + "::ErlangParamM()", *activity.phases, action);
      break;
    case Timing::Instantaneous:
      out << "0.0;\n}\n\n";
      break;
  }
  out << "double* " << scope << "::ReturnDistributionParameters() {\n"
      << "  TheDistributionParameters[0] = "
      << (activity.timing == Timing::Deterministic ? "DeterministicParamValue()" : "Rate()")
      << ";\n";
  if (activity.timing == Timing::Erlang) {
    out << "  TheDistributionParameters[1] = ErlangParamM();\n";
  }
  out << "  return TheDistributionParameters;\n}\n\n";
}

void AtomicWriter::defineChoice(CodeWriter& out, const Action& action,
                                const std::string& scope) const {
  const ActivityDecl& activity = *action.activity;
  const CaseDecl* caseDecl = action.caseDecl;
  if (caseDecl) {
    defineReturning(out, "double " + scope + "::Weight()", caseDecl->value, action);
  } else if (activity.clauses.weight) {
    defineReturning(out, "double " + scope + "::Weight()", *activity.clauses.weight, action);
  } else {
    out << "double " << scope << "::Weight() { return 1.0; }\n\n";
  }
  const std::optional<Code>& rank =
      caseDecl && caseDecl->clauses.rank ? caseDecl->clauses.rank : activity.clauses.rank;
  if (rank) {
    defineReturning(out, "int " + scope + "::Rank()", *rank, action);
  } else {
    out << "int " << scope << "::Rank() { return 1; }\n\n";
  }
  out << "bool " << scope << "::ReactivationPredicate() { return false; }\n\n"
      << "bool " << scope << "::ReactivationFunction() { return false; }\n\n";
}

void AtomicWriter::defineFire(CodeWriter& out, const Action& action,
                              const std::string& scope) const {
  out << "BaseActionClass* " << scope << "::Fire() {\n";
  for (const Clauses* clauses : clausesOf(action)) {
    for (const Arc& arc : clauses->inputs) {
      if (wholeConstant(arc.multiplicity)) {
        // Enabling guarantees the tokens.
        out << "  " << cellOf(arc) << " -= " << *wholeConstant(arc.multiplicity) << ";\n";
      } else {
        writeArcTokens(out, arc, "-");
      }
    }
    if (clauses->statements) {
      writeStatements(out, action, *clauses->statements);
    }
    for (const Arc& arc : clauses->outputs) {
      writeArcTokens(out, arc, "");
    }
  }
  out << "  return this;\n}\n\n";
}

void AtomicWriter::writeArcTokens(CodeWriter& out, const Arc& arc, const char* sign) const {
  out << "  addArcTokens(" << cellOf(arc) << ", " << sign;
  writeMultiplicity(out, arc);
  out << ", OwnerModel->Name, " << quoted(arcPlaceName(arc)) << ", Name);\n";
}

void AtomicWriter::writeMultiplicity(CodeWriter& out, const Arc& arc) const {
  const std::optional<std::string> constant = wholeConstant(arc.multiplicity);
  if (constant) {
    out << *constant;
  } else {
    out.parenthesized(*arc.multiplicity);
  }
}

void AtomicWriter::writeStatements(CodeWriter& out, const Action& action, const Code& code) const {
  out << "  {\n";
  bindPlaces(out, action, {&code}, true);
  out.source(code);
  out << "  }\n";
}

void AtomicWriter::defineReturning(CodeWriter& out, const std::string& signature, const Code& code,
                                   const Action& action) const {
  out << signature << " {\n";
  bindPlaces(out, action, {&code}, false);
  out << "  return ";
  out.parenthesized(code);
  out << ";\n}\n\n";
}

void AtomicWriter::bindPlaces(CodeWriter& out, const Action& action,
                              const std::vector<const Code*>& codes, bool writable) const {
  const char* type = writable ? "short" : "const short";
  for (int place : action.touched) {
    const std::string& name = placeName(place);
    if (!std::any_of(codes.begin(), codes.end(),
                     [&](const Code* code) { return code->mentions(name); })) {
      continue;
    }
    if (Model.placeSizes[place] == 0) {
      out << "  " << type << "& " << name << " = *" << name << "_Mark;\n";
    } else {
      out << "  const sanc_runtime::MarkingArray<" << type << "> " << name << "{" << name
          << "_Place};\n";
    }
  }
  // C++ code reads a formula as a local; expressions have it in place.
  for (const FormulaDecl* formula : Model.formulas) {
    const std::string& name = formula->name.text;
    if (formula->expanded && std::any_of(codes.begin(), codes.end(), [&](const Code* code) {
          return !code->expr && code->mentions(name);
        })) {
      out << "  [[maybe_unused]] const double " << name << " = " << toCpp(*formula->expanded)
          << ";\n";
    }
  }
}

std::string AtomicWriter::cellOf(const Arc& arc) const {
  if (!arc.index) {
    return "(*" + arc.place.text + "_Mark)";
  }
  if (const std::optional<long> index = constantIndex(arc)) {
    if (Model.placeSizes[Model.placeIndex(arc.place.text)] > 0) {
      return "(*" + arc.place.text + "_Place->marks()[" + std::to_string(*index) + "])";
    }
  }
  // Known when the model is built only: checked as the arc is used.
  return "(*sanc_runtime::element(" + arc.place.text + "_Place, " + arc.index->text + "))";
}

std::string placeClass(int size) { return size == 0 ? "Place" : "sanc_runtime::PlaceArray"; }

}  // namespace sanc
