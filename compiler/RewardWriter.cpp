#include "compiler/RewardWriter.h"

#include <algorithm>

#include "compiler/AtomicWriter.h"
#include "compiler/JoinWriter.h"
#include "compiler/Literals.h"

namespace sanc {

std::string RewardWriter::nodeClass(const Model& model, std::size_t index) {
  return model.rewardName + "PV" + std::to_string(index);
}

std::string RewardWriter::impulseClass(const std::string& node, std::size_t index) {
  return node + "Impulse" + std::to_string(index);
}

namespace {

// The framework's name of the kind, as the type file writes its code.
const char* typeOf(RewardKind kind) {
  switch (kind) {
    case RewardKind::Instant:
      return "InstantOfTimeType";
    case RewardKind::Interval:
      return "IntervalOfTimeType";
    case RewardKind::Average:
      return "TimeAveragedIntervalType";
    case RewardKind::LongRun:
      return "SteadyStateType";
    case RewardKind::MeanTimeUntil:
      return "MeanTimeToConditionType";
    case RewardKind::ProbabilityUntil:
      return "ConditionByTimeType";
  }
  return "InstantOfTimeType";
}

// What the workers of a variable evaluate: its rate reward or its
// condition; null when it has only impulses.
const Code* workerCode(const RewardDecl& decl) {
  return decl.rate ? &*decl.rate : decl.condition ? &*decl.condition : nullptr;
}

std::string doubleList(const std::vector<std::string>& values) {
  std::string list;
  for (const std::string& value : values) {
    list += (list.empty() ? "" : ", ") + value;
  }
  return list;
}

std::string doubleLiteral(const Literal& time) {
  std::string problem;
  return cppLiteral(ValueType::Double, time.text, problem).value();
}

}  // namespace

void RewardWriter::declare(CodeWriter& out) const {
  for (std::size_t r = 0; r < Whole.rewards.size(); r++) {
    declareVariable(out, Whole.rewards[r], nodeClass(Whole, r));
  }
  const std::string name = className(Whole);
  out << "// The reward model: the top model with the reward variables.\n"
      << "class " << name << " : public PVModel {\n public:\n"
      << "  // Builds the model tree and the variables' nodes (one per time point when\n"
      << "  // expandTimeArrays is true) and links them.\n"
      << "  explicit " << name << "(bool expandTimeArrays);\n"
      << "  // A new node for variable pv at time point timeIndex; null for any other pv.\n"
      << "  PerformanceVariableNode* createPVNode(int pv, int timeIndex) override;\n};\n\n";
}

void RewardWriter::declareVariable(CodeWriter& out, const Reward& reward,
                                   const std::string& node) const {
  const std::string& name = reward.decl->name.text;
  if (workerCode(*reward.decl) != nullptr) {
    out << "// The " << (reward.decl->condition ? "condition" : "rate reward") << " of " << name
        << " in one combination of model instances.\n"
        << "class " << node << "Worker : public InstantOfTime {\n public:\n";
    for (const RewardModelUse& use : reward.models) {
      out << "  BaseModelClass* " << use.instance << "_Model = nullptr;\n";
    }
    out << "\n  " << node << "Worker();\n  double Reward_Function() override;\n};\n\n";
  }
  for (std::size_t i = 0; i < reward.impulses.size(); i++) {
    const Impulse& impulse = reward.impulses[i];
    out << "// The impulse of " << name << " when " << impulse.instance << "."
        << impulse.decl->activity.member.text << " fires.\n"
        << "class " << impulseClass(node, i) << " : public ImpulseNodeClass {\n public:\n"
        << "  BaseModelClass* " << impulse.instance << "_Model = nullptr;\n\n"
        << "  " << impulseClass(node, i) << "();\n"
        << "  void EvaluateImpulse() override;\n"
        << "  ImpulseNodeClass** CreateImpulseWorkers(int n) override;\n};\n\n";
  }
  out << "// The reward variable " << name << ".\n"
      << "class " << node << " : public PerformanceVariableNode {\n public:\n"
      << "  BaseModelClass* TheModelPtr = nullptr;  // the top model; set through TopModelRef\n";
  for (std::size_t i = 0; i < reward.impulses.size(); i++) {
    out << "  " << impulseClass(node, i) << " Impulse" << static_cast<long>(i) << "["
        << static_cast<long>(reward.impulses[i].actions.size())
        << "];  // one prototype per action that earns it\n";
  }
  out << "\n  explicit " << node << "(int timeIndex);\n"
      << "  void CreateWorkerList() override;\n};\n\n";
}

void RewardWriter::define(CodeWriter& out) const {
  for (std::size_t r = 0; r < Whole.rewards.size(); r++) {
    defineVariable(out, Whole.rewards[r], nodeClass(Whole, r));
  }
  const std::string name = className(Whole);
  const std::string root = JoinWriter::classOf(Whole, Whole.root);
  out << name << "::" << name << "(bool expandTimeArrays) {\n"
      << "  // Refuses a model too large to build before building any of it.\n"
      << "  " << root << "::expansion();\n"
      << "  ChildModel = newObject<" << root << ">();\n"
      << "  DefineName(" << quoted(name) << ");\n"
      << "  CreatePVList(" << static_cast<long>(Whole.rewards.size()) << ", expandTimeArrays);\n"
      << "  Initialize();\n}\n\n";
  if (Whole.rewards.empty()) {
    out << "PerformanceVariableNode* " << name
        << "::createPVNode(int, int) { return nullptr; }\n\n";
    return;
  }
  out << "PerformanceVariableNode* " << name << "::createPVNode(int pv, int timeIndex) {\n"
      << "  switch (pv) {\n";
  for (std::size_t r = 0; r < Whole.rewards.size(); r++) {
    out << "    case " << static_cast<long>(r) << ":\n      return newObject<"
        << nodeClass(Whole, r) << ">(timeIndex);\n";
  }
  out << "  }\n  return nullptr;\n}\n\n";
}

void RewardWriter::defineVariable(CodeWriter& out, const Reward& reward,
                                  const std::string& node) const {
  const RewardDecl& decl = *reward.decl;
  if (workerCode(decl) != nullptr) {
    defineWorker(out, reward, node);
  }
  for (std::size_t i = 0; i < reward.impulses.size(); i++) {
    defineImpulse(out, reward.impulses[i], impulseClass(node, i));
  }
  long impulses = 0;
  for (const Impulse& impulse : reward.impulses) {
    impulses += static_cast<long>(impulse.actions.size());
  }
  long variables = 0;
  for (const RewardModelUse& use : reward.models) {
    variables += static_cast<long>(use.places.size());
  }
  out << node << "::" << node << "(int timeIndex) {\n  TopModelRef = &TheModelPtr;\n";
  defineTimes(out, decl);
  out << "  Initialize(" << quoted(decl.name.text) << ", " << typeOf(decl.kind) << ", "
      << static_cast<long>(std::max(decl.times.size(), decl.intervals.size())) << ", "
      << (decl.times.empty() ? decl.intervals.empty() ? "nullptr, nullptr" : "starts, stops"
                             : "times, times")
      << ", timeIndex, " << impulses << ", " << static_cast<long>(reward.models.size()) << ", "
      << variables << ");\n";
  for (const RewardModelUse& use : reward.models) {
    for (const std::string& place : use.places) {
      out << "  AddVariableDependency(" << quoted(place) << ", " << quoted(use.instance) << ");\n";
    }
  }
  for (std::size_t i = 0; i < reward.impulses.size(); i++) {
    const Impulse& impulse = reward.impulses[i];
    for (std::size_t a = 0; a < impulse.actions.size(); a++) {
      out << "  AddImpulse(" << quoted(impulse.actions[a]) << ", " << quoted(impulse.instance)
          << ", &Impulse" << static_cast<long>(i) << "[" << static_cast<long>(a) << "]);\n";
    }
  }
  out << "}\n\n";
  if (workerCode(decl) != nullptr) {
    out << "void " << node << "::CreateWorkerList() {\n"
        << "  for (int w = 0; w < NumWorkers; w++) {\n"
        << "    Workers[w] = newObject<" << node << "Worker>();\n  }\n}\n\n";
  } else {
    out << "// The variable reads no marking, so it has no workers.\n"
        << "void " << node << "::CreateWorkerList() {}\n\n";
  }
}

void RewardWriter::defineWorker(CodeWriter& out, const Reward& reward,
                                const std::string& node) const {
  const std::string worker = node + "Worker";
  std::vector<std::string> instances;
  for (const RewardModelUse& use : reward.models) {
    instances.push_back(use.instance);
  }
  out << worker << "::" << worker << "() {\n";
  defineModelRefs(out, instances);
  out << "}\n\ndouble " << worker << "::Reward_Function() {\n";
  const Code& code = *workerCode(*reward.decl);
  for (const JoinRead& read : reward.joins) {
    // The copies share the join's places: the first one counts them.
    if (read.repeated) {
      out << "  if (static_cast<const " << AtomicWriter::className(Whole.atomics[read.atomic])
          << "*>(" << read.representative << "_Model)->CopyNumber != 0) {\n    return 0.0;\n  }\n";
    }
    bindFields(out, read.join, read.representative, read.atomic, read.places);
  }
  for (const RewardModelUse& use : reward.models) {
    if (code.mentions(use.instance)) {
      bindInstance(out, use.instance, use.atomic, use.places);
    }
  }
  out << "  return ";
  out.parenthesized(code);
  // A condition's reward is 1 where it holds and 0 elsewhere.
  out << (reward.decl->condition ? " ? 1.0 : 0.0" : "") << ";\n}\n\n";
}

void RewardWriter::defineTimes(CodeWriter& out, const RewardDecl& decl) const {
  std::vector<std::string> times, starts, stops;
  for (const Literal& time : decl.times) {
    times.push_back(doubleLiteral(time));
  }
  for (const IntervalDecl& interval : decl.intervals) {
    starts.push_back(doubleLiteral(interval.start));
    stops.push_back(doubleLiteral(interval.stop));
  }
  if (!times.empty()) {
    out << "  const double times[] = {" << doubleList(times) << "};\n";
  } else if (!starts.empty()) {
    out << "  const double starts[] = {" << doubleList(starts) << "};\n"
        << "  const double stops[] = {" << doubleList(stops) << "};\n";
  }
}

void RewardWriter::defineImpulse(CodeWriter& out, const Impulse& impulse,
                                 const std::string& impulseClass) const {
  out << impulseClass << "::" << impulseClass << "() {\n  NumModelDependencies = 1;\n";
  defineModelRefs(out, {impulse.instance});
  out << "}\n\nvoid " << impulseClass << "::EvaluateImpulse() {\n";
  bindInstance(out, impulse.instance, impulse.atomic, impulse.places);
  out << "  Value = ";
  out.parenthesized(impulse.decl->value);
  out << ";\n}\n\n"
      << "ImpulseNodeClass** " << impulseClass << "::CreateImpulseWorkers(int n) {\n"
      << "  ImpulseNodeClass** workers = newArray<ImpulseNodeClass*>(n);\n"
      << "  for (int w = 0; w < n; w++) {\n"
      << "    workers[w] = newObject<" << impulseClass << ">();\n  }\n"
      << "  return workers;\n}\n\n";
}

void RewardWriter::defineModelRefs(CodeWriter& out,
                                   const std::vector<std::string>& instances) const {
  out << "  NumModelRefs = " << static_cast<long>(instances.size()) << ";\n"
      << "  ModelRefs = newArray<BaseModelClass**>(NumModelRefs);\n";
  for (std::size_t i = 0; i < instances.size(); i++) {
    out << "  ModelRefs[" << static_cast<long>(i) << "] = &" << instances[i] << "_Model;\n";
  }
}

void RewardWriter::bindInstance(CodeWriter& out, const std::string& instance, int atomic,
                                const std::vector<std::string>& places) const {
  std::vector<std::pair<std::string, std::string>> fields;
  for (const std::string& place : places) {
    fields.emplace_back(place, place);
  }
  bindFields(out, instance, instance, atomic, fields);
}

void RewardWriter::bindFields(
    CodeWriter& out, const std::string& binding, const std::string& instance, int atomic,
    const std::vector<std::pair<std::string, std::string>>& fields) const {
  if (fields.empty()) {
    return;
  }
  const Atomic& model = Whole.atomics[atomic];
  out << "  const auto& " << binding << "_Instance = *static_cast<const "
      << AtomicWriter::className(model) << "*>(" << instance << "_Model);\n  const struct {\n";
  for (const auto& [member, place] : fields) {
    const bool array = model.placeSizes[model.placeIndex(place)] != 0;
    out << (array ? "    const sanc_runtime::MarkingArray<const short> " : "    const short& ")
        << member << ";\n";
  }
  out << "  } " << binding << "{";
  for (std::size_t f = 0; f < fields.size(); f++) {
    const std::string cell = binding + "_Instance." + fields[f].second;
    const bool array = model.placeSizes[model.placeIndex(fields[f].second)] != 0;
    out << (f ? ", " : "")
        << (array ? "sanc_runtime::MarkingArray<const short>(" + cell + ")"
                  : "*" + cell + "->Mark");
  }
  out << "};\n";
}

}  // namespace sanc
