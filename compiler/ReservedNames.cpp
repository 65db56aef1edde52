#include "compiler/ReservedNames.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace sanc {

namespace {

// Sorted, for binary search.
// clang-format off
constexpr std::array<std::string_view, 92> kCppKeywords = {
    "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break",
    "case", "catch", "char", "char16_t", "char32_t", "char8_t", "class", "co_await", "co_return",
    "co_yield", "compl", "concept", "const", "const_cast", "consteval", "constexpr", "constinit",
    "continue", "decltype", "default", "delete", "do", "double", "dynamic_cast", "else", "enum",
    "explicit", "export", "extern", "false", "float", "for", "friend", "goto", "if", "inline",
    "int", "long", "main", "mutable", "namespace", "new", "noexcept", "not", "not_eq", "nullptr",
    "operator", "or", "or_eq", "private", "protected", "public", "register", "reinterpret_cast",
    "requires", "return", "short", "signed", "sizeof", "static", "static_assert", "static_cast",
    "std", "struct", "switch", "template", "this", "thread_local", "throw", "true", "try",
    "typedef", "typeid", "typename", "union", "unsigned", "using", "virtual", "void", "volatile",
    "wchar_t", "while",};
// clang-format on

// The members of the framework classes that generated classes derive from,
// the framework's global names, and the names the generated code uses
// itself. Sorted, for binary search.
// clang-format off
constexpr std::array<std::string_view, 195> kFrameworkNames = {
    "Accumulate", "Action", "ActionID", "Actions", "Activity", "ActivityInitialize",
    "AddAffectArc", "AddEnableArc", "AddImpulse", "AddModelDependency", "AddVariableDependency",
    "AffectedNodes", "AffectedSVs", "AffectingActions", "Age", "AgeAction", "AllChildrenEmpty",
    "BaseActionClass", "BaseComposerClass", "BaseGroupClass", "BaseModelClass",
    "BaseStateVariableClass", "BaseStudyClass", "Capacity", "ChildCopies", "ChildModel",
    "ChildStateSizes", "Children", "CompareState", "CompositeStateSize", "ConditionByTimeType",
    "CopyIndex", "CopyNumber", "CreatePVList", "CreateWorkerList", "CurrentReward",
    "CurrentState", "DefaultRootPath",
    "DefineName", "DeriveGVs", "DestructStudy", "Deterministic", "DeterministicParamValue",
    "Disabled", "Distribution", "DistributionType", "EmptyGroup", "Enabled", "EnablingChange",
    "EnablingSVs", "Erlang", "ErlangParamM", "EvaluateImpulse", "ExecutionPolicy", "Exponential",
    "FamilyEnd", "FamilyIndex", "Fire",
    "FireAction", "Fired", "GVNames", "GVOverridden", "GVTypes", "GenerateStudy", "GetChild",
    "GetGVValue",
    "GetPVModel", "GlobalStudyPtr", "GroupID", "Groups", "ImmediateGroup", "Impulse",
    "ImpulseNodeClass", "ImpulseReward", "Impulses", "Index", "InitialActionList",
    "InitialGroupList", "InitialPlaces", "Initialize", "InstantOfTime", "InstantOfTimeType",
    "Instantaneous", "IntervalOfTimeType", "Join", "LastActionFired", "LastActionTime", "Layout",
    "LinkVariables", "MarkingOutOfRange", "MaxID", "MaxRank", "MeanTimeToConditionType",
    "Member", "Members", "MemoryAllocationError", "ModelId",
    "ModelRefs", "Name", "NewEnabled", "NextChild", "NoAction", "NumActions", "NumChildren",
    "NumExps", "NumGVs", "NumGroups", "NumLocalPlaces", "NumMembers", "NumModelDependencies",
    "NumModelRefs", "NumPVs", "NumReadOnlyPlaces", "NumSharedStateVariables", "NumStateVariables",
    "NumWorkers", "OldEnabled", "OverrideGVValue", "OwnModel", "OwnerModel", "PVId", "PVList",
    "PVModel", "ParentId", "PerformanceVariableNode", "Phase", "Place", "Places",
    "PostselectGroup", "PrintGlobalValues", "Probability", "RaceEnabled", "Rank", "Rate",
    "RateReward", "Reactivation", "ReactivationFunction", "ReactivationPredicate",
    "ReadOnlyPlaces", "ReadyToFire", "ResetPhase", "ReturnDistributionParameters",
    "Reward_Function", "SANModel", "SampleDistribution", "SelectAction", "SelectedAction",
    "SetGVs", "SetState", "Setup", "SetupActions", "SharedPtrs", "SharedStateNames", "StartTime",
    "StateSize", "SteadyStateType", "StopTime", "TheDistribution", "TheDistributionParameters",
    "TheGenerator", "TheModelPtr", "ThePVModel", "TimeAveragedIntervalType", "TopModelRef",
    "Type", "Value", "Weight", "WeightDistribution",
    "Workers", "addArcTokens", "addHolder", "addSharedPtr", "appendGroup", "createPVNode",
    "declareGV", "declareGVs", "destructSingleStudy", "generateSingleStudy", "getMark",
    "initialMarking", "initialize", "initializeSANModelNow", "listActions", "listModels",
    "newArray", "newObject", "printValuesHeading", "printValuesInForce", "repeatCount",
    "reportUnknownGV",
    "sanc_runtime", "setGroupId", "setMark", "shareWithChild", "the_id",};
// clang-format on

// Functions of the C library that a global variable of the generated code
// would collide with. Sorted, for binary search.
// clang-format off
constexpr std::array<std::string_view, 44> kCLibraryNames = {
    "abort", "abs", "acos", "asin", "atan", "ceil", "close", "cos", "cosh", "div", "exit", "exp",
    "fabs", "floor", "fmax", "fmin", "fmod", "free", "gamma", "index", "j0", "j1", "link", "log",
    "log10", "log2", "open", "pow", "rand", "random", "read", "remove", "rename", "round",
    "select", "signal", "sin", "sleep", "sqrt", "tan", "time", "wait", "write", "y0",};
// clang-format on

// The macros of the headers the generated code includes, sorted (listed
// by the preprocessor when sanc is built).
constexpr std::string_view kModelMacros[] = {
#include "ModelMacros.inc"
};

bool listed(std::string_view name, const std::string_view* first, const std::string_view* last) {
  return std::binary_search(first, last, name);
}

}  // namespace

std::string reservedReason(std::string_view name) {
  if (listed(name, kCppKeywords.begin(), kCppKeywords.end())) {
    return "a C++ keyword";
  }
  if (name.find("__") != std::string_view::npos ||
      (name.size() > 1 && name[0] == '_' && name[1] >= 'A' && name[1] <= 'Z')) {
    return "reserved in C++";
  }
  if (listed(name, kFrameworkNames.begin(), kFrameworkNames.end())) {
    return "a name the framework uses";
  }
  if (listed(name, std::begin(kModelMacros), std::end(kModelMacros))) {
    return "a macro of the C++ headers";
  }
  // The generated code names its own members after places and instances.
  for (std::string_view suffix : {"_Mark", "_Place", "_Model", "_Instance"}) {
    if (name.size() > suffix.size() && name.substr(name.size() - suffix.size()) == suffix) {
      return "a name the generated code uses";
    }
  }
  return "";
}

std::string globalReservedReason(std::string_view name) {
  if (listed(name, kCLibraryNames.begin(), kCLibraryNames.end())) {
    return "a function of the C library";
  }
  if (name == "min" || name == "max") {
    return "a function of expressions";
  }
  return reservedReason(name);
}

}  // namespace sanc
