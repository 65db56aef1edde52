#include "compiler/AtomicChecker.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "compiler/CodeWriter.h"
#include "compiler/IntegerDivision.h"
#include "compiler/Literals.h"

namespace sanc {

namespace {

constexpr double kProbabilityTolerance = 1e-9;

void appendOnce(std::vector<int>& list, int value) {
  if (std::find(list.begin(), list.end(), value) == list.end()) {
    list.push_back(value);
  }
}

std::string number(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

// " (it is 0)" after a message about an expression's value, unless the
// expression is that number as written.
std::string evaluatedTo(const Code& code, double value) {
  const Expr* expr = code.expr.get();
  if (expr && expr->kind == Expr::Kind::Unary && expr->text == "-") {
    expr = &expr->operands[0];
  }
  const bool literal = expr && expr->kind == Expr::Kind::Number;
  return literal || !expr ? "" : " (it is " + number(value) + ")";
}

}  // namespace

Atomic AtomicChecker::check() {
  declareNames();
  Atomic atomic;
  atomic.decl = &Decl;
  for (const PlaceDecl& place : Decl.places) {
    PlaceSizes.push_back(checkPlace(place));
  }
  atomic.placeSizes = PlaceSizes;
  atomic.placeSizeCode = PlaceSizeCode;
  for (const ActivityDecl& activity : Decl.activities) {
    checkActivity(activity);
  }
  // Families come last: their groups are numbered when the model is built.
  for (bool families : {false, true}) {
    for (const ActivityDecl& activity : Decl.activities) {
      if (activity.family.has_value() == families) {
        addActions(activity, atomic);
      }
    }
  }
  return atomic;
}

void AtomicChecker::declareNames() {
  for (const ParamDecl& param : Decl.params) {
    if (Context.usableName(param.name, "parameter")) {
      Names.add(Context, param.name, "parameter");
    }
  }
  for (const PlaceDecl& place : Decl.places) {
    if (Context.usableName(place.name, "place") && Names.add(Context, place.name, "place")) {
      PlaceIndex.emplace(place.name.text, static_cast<int>(PlaceIndex.size()));
    }
  }
  for (const FormulaDecl& formula : Decl.formulas) {
    if (Context.usableName(formula.name, "formula")) {
      Names.add(Context, formula.name, "formula");
    }
  }
  for (const ActivityDecl& activity : Decl.activities) {
    if (!Context.usableName(activity.name, "activity", false) ||
        !Names.add(Context, activity.name, "activity")) {
      continue;
    }
    // The generated members and classes of the activity take names too.
    const std::string& base = activity.name.text;
    Names.add(Context, Name{base + "Activity", activity.name.where}, "class of activity " + base);
    if (!activity.cases.empty()) {
      Names.add(Context, Name{base + "Group", activity.name.where}, "group of activity " + base);
    }
    for (std::size_t k = 1; k <= activity.cases.size(); k++) {
      const std::string suffix = "_case" + std::to_string(k);
      Names.add(Context, Name{base + suffix, activity.name.where}, "case of activity " + base);
      Names.add(Context, Name{base + "Activity" + suffix, activity.name.where},
                "class of activity " + base);
    }
  }
}

int AtomicChecker::checkPlace(const PlaceDecl& place) {
  int size = 0;
  std::string sizeCode;
  if (place.size) {
    const std::optional<double> value = constantValue(*place.size);
    size = value && *value >= 1 && *value <= kMaxArraySize && *value == std::floor(*value)
               ? static_cast<int>(*value)
               : 1;
    if (!value && readsOnly(*place.size, "the size of an array of places", false)) {
      size = kBuiltSize;
      sizeCode = "sanc_runtime::arraySize(" + place.size->text + ", " +
                 sanc::quoted(Decl.name.text) + ", " + sanc::quoted(place.name.text) + ", " +
                 sanc::quoted(toSource(*place.size->expr)) + ")";
    } else if (!value || size != *value) {
      Context.error(place.size->where,
                    "the size of a place array must be a whole number from 1 to " +
                        std::to_string(kMaxArraySize));
    }
  }
  PlaceSizeCode.push_back(sizeCode);
  if (!place.initial) {
    return size;
  }
  checkExpression(*place.initial);
  for (const CodeName& use : place.initial->names) {
    if (PlaceIndex.count(use.name) > 0) {
      Context.error(use.where, "an initial marking cannot read the place '" + use.name + "'");
      return size;
    }
  }
  const std::optional<double> value = constantValue(*place.initial);
  if (value && (*value != std::floor(*value) || *value < 0 || *value > 32767)) {
    Context.error(place.initial->where, "the initial marking of '" + place.name.text +
                                            "' must be a whole number from 0 to 32767");
  }
  return size;
}

void AtomicChecker::checkActivity(const ActivityDecl& activity) {
  Family = activity.family ? &activity.family->index.text : nullptr;
  if (activity.family) {
    checkFamily(*activity.family);
  }
  for (const std::optional<Code>* code :
       {&activity.time, &activity.phases, &activity.clauses.weight}) {
    if (*code) {
      checkExpression(**code);
    }
  }
  for (const CaseDecl& caseDecl : activity.cases) {
    checkExpression(caseDecl.value);
  }
  checkCppCode(activity.clauses);
  for (const CaseDecl& caseDecl : activity.cases) {
    checkCppCode(caseDecl.clauses);
  }
  checkTiming(activity);
  checkClausesForTiming(activity);
  checkArcs(activity.clauses.inputs);
  checkArcs(activity.clauses.outputs);
  for (const CaseDecl& caseDecl : activity.cases) {
    checkArcs(caseDecl.clauses.outputs);
  }
  checkCases(activity);
  checkAlwaysEnabled(activity);
  Family = nullptr;
}

void AtomicChecker::checkFamily(const FamilyDecl& family) {
  const Name& index = family.index;
  if (Context.usableName(index, "family's index") && PlaceIndex.count(index.text) > 0) {
    Context.error(index.where, "the index '" + index.text + "' would hide the place of that name");
  }
  for (const ParamDecl& param : Decl.params) {
    if (param.name.text == index.text) {
      Context.error(index.where,
                    "the index '" + index.text + "' would hide the parameter of that name");
    }
  }
  const std::string& own = index.text;
  Family = nullptr;  // the bounds cannot read the index they bound
  // Global variables only: the model's size is known before it is built.
  readsOnly(family.first, "the first index of a family", false);
  readsOnly(family.last, "the last index of a family", false);
  Family = &own;
}

void AtomicChecker::checkTiming(const ActivityDecl& activity) {
  checkPositive(activity.time, activity.timing == Timing::Deterministic ? "a delay" : "a rate");
  checkPositive(activity.clauses.weight, "a weight");
  if (activity.phases) {
    const std::optional<double> phases = constantValue(*activity.phases);
    if (phases && (*phases < 1 || *phases != std::floor(*phases))) {
      Context.error(activity.phases->where,
                    "the number of phases must be a whole number of at least 1");
    }
  }
}

void AtomicChecker::checkPositive(const std::optional<Code>& code, const char* what) {
  if (!code) {
    return;
  }
  const std::optional<double> value = constantValue(*code);
  if (value && !(*value > 0)) {
    Context.error(code->where,
                  std::string(what) + " must be positive" + evaluatedTo(*code, *value));
  }
}

bool AtomicChecker::isParameter(const std::string& name) const {
  return (Family != nullptr && *Family == name) ||
         std::any_of(Decl.params.begin(), Decl.params.end(),
                     [&](const ParamDecl& p) { return p.name.text == name; });
}

bool AtomicChecker::readsOnly(const Code& code, const std::string& what, bool parameters) {
  bool only = true;
  forEachName(*code.expr, [&](const Expr& use) {
    const bool known = Context.global(use.text) != nullptr || (parameters && isParameter(use.text));
    if (use.kind != Expr::Kind::Name || !known) {
      Context.error(use.where, what +
                                   (parameters ? " reads parameters and global variables only"
                                               : " reads global variables only") +
                                   ", not '" + use.text + "'");
      only = false;
    }
  });
  return only;
}

void AtomicChecker::checkExpression(const Code& code) {
  if (!code.expr) {
    return;
  }
  forEachName(*code.expr, [&](const Expr& use) {
    if (use.kind == Expr::Kind::Member) {
      Context.error(use.where, "'" + use.text + "." + use.member +
                                   "': an activity reads the places of its own model by their "
                                   "names (instance.place is for rewards)");
      return;
    }
    const auto place = PlaceIndex.find(use.text);
    if (place != PlaceIndex.end()) {
      checkArrayUse(use, PlaceSizes.size() > static_cast<std::size_t>(place->second)
                             ? PlaceSizes[place->second]
                             : 0);
      return;
    }
    const bool param = isParameter(use.text);
    if (!param && Context.global(use.text) == nullptr) {
      Context.error(use.where, "'" + use.text +
                                   "' is not a place, parameter or global variable "
                                   "of atomic model '" +
                                   Decl.name.text + "'");
    } else if (use.kind == Expr::Kind::Size) {
      Context.error(use.where, "'" + use.text + "' is not an array of places");
    }
  });
}

void AtomicChecker::checkArrayUse(const Expr& use, int size) {
  if (use.kind == Expr::Kind::Size && size == 0) {
    Context.error(use.where, "'" + use.text + "' is a place, not an array of places");
  }
}

void AtomicChecker::checkCppCode(const Clauses& clauses) {
  auto isInteger = [&](const std::string& name) {
    if (PlaceIndex.count(name) > 0 || (Family != nullptr && *Family == name)) {
      return true;
    }
    for (const ParamDecl& param : Decl.params) {
      if (param.name.text == name) {
        return isIntegerType(param.type);
      }
    }
    const GlobalDecl* global = Context.global(name);
    return global != nullptr && isIntegerType(global->type);
  };
  for (const std::optional<Code>* code : {&clauses.guard, &clauses.statements, &clauses.rank}) {
    if (*code) {
      reportIntegerDivisions(Context, **code, isInteger);
    }
  }
  for (const std::vector<Arc>* arcs : {&clauses.inputs, &clauses.outputs}) {
    for (const Arc& arc : *arcs) {
      if (arc.multiplicity) {
        reportIntegerDivisions(Context, *arc.multiplicity, isInteger);
      }
    }
  }
}

void AtomicChecker::checkClausesForTiming(const ActivityDecl& activity) {
  const bool instantaneous = activity.timing == Timing::Instantaneous;
  if (activity.clauses.weight && (!instantaneous || !activity.cases.empty())) {
    Context.error(activity.clauses.weight->where,
                  instantaneous ? "an activity with cases takes its weights from its cases"
                                : "only instantaneous activities have a weight; give cases "
                                  "their probabilities instead");
  }
  if (activity.clauses.rank && !instantaneous) {
    Context.error(activity.clauses.rank->where,
                  "only instantaneous activities have a rank (a case may have one)");
  }
  if (!activity.clauses.outputs.empty() && !activity.cases.empty()) {
    Context.error(activity.clauses.outputs.front().place.where,
                  "an activity with cases gives its output arcs in its cases");
  }
}

void AtomicChecker::checkArcs(const std::vector<Arc>& arcs) {
  std::vector<std::string> seen;
  for (const Arc& arc : arcs) {
    const std::string place = arcPlaceName(arc);
    if (PlaceIndex.count(arc.place.text) == 0) {
      Context.error(arc.place.where,
                    "atomic model '" + Decl.name.text + "' has no place '" + arc.place.text + "'");
    } else if (std::find(seen.begin(), seen.end(), place) != seen.end()) {
      Context.error(arc.place.where,
                    "the place '" + place + "' is listed twice; give one arc a multiplicity");
    } else {
      checkIndex(arc);
    }
    seen.push_back(place);
    if (arc.multiplicity) {
      const std::optional<double> value = constantValue(*arc.multiplicity);
      if (value && (*value < 1 || *value > 32767 || *value != std::floor(*value))) {
        Context.error(arc.multiplicity->where,
                      "a multiplicity must be a whole number from 1 to 32767");
      }
    }
  }
}

void AtomicChecker::checkIndex(const Arc& arc) {
  const int size = PlaceSizes[PlaceIndex.at(arc.place.text)];
  if (size == 0 && arc.index) {
    Context.error(arc.index->where, "'" + arc.place.text + "' is a place, not an array of places");
  } else if (size != 0 && !arc.index) {
    Context.error(arc.place.where, "'" + arc.place.text +
                                       "' is an array of places: give the index of one, as in " +
                                       arc.place.text + "[0]");
  } else if (arc.index) {
    const std::optional<double> index = constantValue(*arc.index);
    if (!index) {
      // Checked when the arc fires: the size may be known only then.
      readsOnly(*arc.index, "the index of an arc", true);
    } else if (*index < 0 || *index != std::floor(*index) || (size > 0 && *index >= size)) {
      Context.error(arc.index->where,
                    "the index of '" + arc.place.text + "' must be a whole number from 0" +
                        (size > 0 ? " to " + std::to_string(size - 1) : std::string()));
    }
  }
}

void AtomicChecker::checkCases(const ActivityDecl& activity) {
  if (activity.cases.empty()) {
    return;
  }
  const bool weights = activity.cases.front().isWeight;
  double sum = 0.0;
  bool allConstant = true;
  for (const CaseDecl& caseDecl : activity.cases) {
    if (caseDecl.isWeight != weights) {
      Context.error(caseDecl.where, "the cases of activity '" + activity.name.text +
                                        "' mix probabilities and weights");
      return;
    }
    const std::optional<double> value = constantValue(caseDecl.value);
    if (value && *value < 0) {
      Context.error(caseDecl.value.where, std::string(weights ? "a case weight cannot be negative"
                                                              : "a case probability cannot be "
                                                                "negative") +
                                              evaluatedTo(caseDecl.value, *value));
      return;
    }
    if (value && !(*value > 0)) {
      // A case that can never be taken is a slip, not a model.
      Context.error(caseDecl.value.where,
                    std::string(weights ? "a case weight" : "a case probability") +
                        " of 0 is never taken; remove the case" +
                        evaluatedTo(caseDecl.value, *value));
      return;
    }
    allConstant = allConstant && value.has_value();
    sum += value.value_or(0.0);
  }
  if (!weights && allConstant && std::fabs(sum - 1.0) > kProbabilityTolerance) {
    Context.error(activity.cases.front().where,
                  "the case probabilities of activity '" + activity.name.text + "' sum to " +
                      number(sum) + ", not 1 (write 'case weight' for relative weights)");
  }
}

void AtomicChecker::checkAlwaysEnabled(const ActivityDecl& activity) {
  if (activity.timing != Timing::Instantaneous || !activity.clauses.inputs.empty() ||
      activity.clauses.guard) {
    return;
  }
  const bool guardedCases =
      !activity.cases.empty() &&
      std::all_of(activity.cases.begin(), activity.cases.end(),
                  [](const CaseDecl& caseDecl) { return caseDecl.clauses.guard.has_value(); });
  if (!guardedCases) {
    Context.error(activity.name.where,
                  "the instantaneous activity '" + activity.name.text +
                      "' is always enabled; give it input arcs or a 'when' predicate");
  }
}

void AtomicChecker::addActions(const ActivityDecl& activity, Atomic& atomic) const {
  Group group;
  group.firstAction = static_cast<int>(atomic.actions.size());
  const int groupIndex = static_cast<int>(atomic.groups.size());
  if (activity.cases.empty()) {
    group.member = activity.name.text;
    atomic.actions.push_back(makeAction(activity, nullptr, 0, groupIndex));
  } else {
    group.isCaseGroup = true;
    group.numActions = static_cast<int>(activity.cases.size());
    group.member = activity.name.text + "Group";
    for (int k = 1; k <= group.numActions; k++) {
      atomic.actions.push_back(makeAction(activity, &activity.cases[k - 1], k, groupIndex));
    }
  }
  atomic.groups.push_back(group);
}

Action AtomicChecker::makeAction(const ActivityDecl& activity, const CaseDecl* caseDecl,
                                 int caseNumber, int group) const {
  Action action;
  action.activity = &activity;
  action.caseDecl = caseDecl;
  action.caseNumber = caseNumber;
  action.group = group;
  const std::string suffix = caseDecl ? "_case" + std::to_string(caseNumber) : "";
  action.member = activity.name.text + suffix;
  action.className = activity.name.text + "Activity" + suffix;

  const Clauses* caseClauses = caseDecl ? &caseDecl->clauses : nullptr;
  for (const Clauses* clauses : {&activity.clauses, caseClauses}) {
    if (clauses) {
      collect(action.enabling, clauses->inputs);
      collect(action.enabling, clauses->guard);
      collect(action.affected, clauses->inputs);
      collect(action.affected, clauses->statements);
      collect(action.affected, clauses->outputs);
    }
  }
  action.touched = action.enabling;
  for (int place : action.affected) {
    appendOnce(action.touched, place);
  }
  collect(action.touched, activity.time);
  collect(action.touched, activity.phases);
  for (const Clauses* clauses : {&activity.clauses, caseClauses}) {
    if (clauses) {
      collect(action.touched, clauses->rank);
      collect(action.touched, clauses->weight);
      for (const std::vector<Arc>* arcs : {&clauses->inputs, &clauses->outputs}) {
        for (const Arc& arc : *arcs) {
          collect(action.touched, arc.multiplicity);
        }
      }
    }
  }
  if (caseDecl) {
    collect(action.touched, std::optional<Code>(caseDecl->value));
  }
  return action;
}

void AtomicChecker::collect(std::vector<int>& places, const std::optional<Code>& code) const {
  if (!code) {
    return;
  }
  for (const CodeName& use : code->names) {
    const auto found = PlaceIndex.find(use.name);
    if (found != PlaceIndex.end()) {
      appendOnce(places, found->second);
    }
  }
}

void AtomicChecker::collect(std::vector<int>& places, const std::vector<Arc>& arcs) const {
  for (const Arc& arc : arcs) {
    const auto found = PlaceIndex.find(arc.place.text);
    if (found != PlaceIndex.end()) {
      appendOnce(places, found->second);
    }
  }
}

}  // namespace sanc
