#include "study/StudyPlan.h"

#include <algorithm>
#include <set>

namespace study {

namespace {

// The values one assignment gives its variable, each checked for its type.
struct Resolved {
  std::size_t global = 0;
  std::vector<GlobalValue> values;
  bool varies = false;
};

// The globals a study sets: those computed from others follow them.
std::vector<GlobalVariable> globalsOf(const sanc::Model& model) {
  std::vector<GlobalVariable> globals;
  const std::vector<sanc::GlobalDecl>& declared = model.file->globals;
  for (std::size_t g = 0; g < declared.size(); g++) {
    if (!declared[g].derived) {
      globals.push_back({declared[g].name.text, declared[g].type, g});
    }
  }
  return globals;
}

std::string namesOf(const std::vector<GlobalVariable>& globals) {
  if (globals.empty()) {
    return "it has none";
  }
  std::string names;
  for (const GlobalVariable& global : globals) {
    names += (names.empty() ? "" : ", ") + global.name;
  }
  return "it has " + names;
}

std::optional<std::vector<Resolved>> resolve(const sanc::Model& model,
                                             const std::vector<GlobalVariable>& globals,
                                             const std::vector<SweepAssignment>& assignments,
                                             std::string& problem) {
  std::vector<Resolved> resolved;
  std::set<std::string> seen;
  for (const SweepAssignment& assignment : assignments) {
    const auto found =
        std::find_if(globals.begin(), globals.end(),
                     [&](const GlobalVariable& global) { return global.name == assignment.name; });
    if (found == globals.end()) {
      const bool derived = std::any_of(
          model.file->globals.begin(), model.file->globals.end(),
          [&](const sanc::GlobalDecl& global) { return global.name.text == assignment.name; });
      problem =
          assignment.option + ": " +
          (derived ? assignment.name + " is computed from other global variables; set or vary those"
                   : "the model has no global variable '" + assignment.name + "' (" +
                         namesOf(globals) + ")");
      return std::nullopt;
    }
    if (!seen.insert(assignment.name).second) {
      problem = assignment.option + ": " + assignment.name + " is set or varied twice";
      return std::nullopt;
    }
    Resolved values{static_cast<std::size_t>(found - globals.begin()), {}, assignment.varies};
    for (const std::string& text : assignment.values) {
      std::string why;
      std::optional<GlobalValue> value = parseGlobalValue(*found, text, why);
      if (!value) {
        problem = assignment.option + ": " + text + " " + why + " (" + found->name + " is a " +
                  sanc::typeName(found->type) + ")";
        return std::nullopt;
      }
      values.values.push_back(std::move(*value));
    }
    resolved.push_back(std::move(values));
  }
  return resolved;
}

std::string joinedSettings(const std::vector<GlobalValue>& values) {
  std::string joined;
  for (const GlobalValue& value : values) {
    joined += (joined.empty() ? "" : ":") + value.setting;
  }
  return joined;
}

std::vector<std::string> shownOf(const std::vector<GlobalValue>& values) {
  std::vector<std::string> shown;
  for (const GlobalValue& value : values) {
    shown.push_back(value.shown);
  }
  return shown;
}

// The description's study with the --set values in force.
std::optional<StudyPlan> describedExperiments(const sanc::Model& model, StudyPlan plan,
                                              const std::vector<Resolved>& sets) {
  std::set<std::vector<std::string>> seen;
  for (int e = 0; e < model.study.numExperiments; e++) {
    std::vector<GlobalValue> values;
    for (std::size_t g = 0; g < plan.globals.size(); g++) {
      std::optional<GlobalValue> value =
          valueOfLiteral(plan.globals[g], model.study.values[plan.globals[g].declared][e]);
      if (!value) {
        return std::nullopt;
      }
      values.push_back(std::move(*value));
    }
    std::vector<GlobalValue> set;
    for (const Resolved& resolved : sets) {
      values[resolved.global] = resolved.values.front();
      set.push_back(resolved.values.front());
    }
    std::vector<std::string> shown = shownOf(values);
    if (!seen.insert(shown).second) {
      continue;
    }
    Experiment experiment{static_cast<int>(plan.experiments.size()) + 1, std::move(shown),
                          {"-B" + std::to_string(e)}};
    if (!set.empty()) {
      experiment.arguments.push_back("-O" + joinedSettings(set));
    }
    plan.experiments.push_back(std::move(experiment));
  }
  return plan;
}

// Every combination of the --vary values, the first varying slowest.
std::optional<StudyPlan> sweptExperiments(const sanc::Model& model, StudyPlan plan,
                                          const std::vector<Resolved>& resolved,
                                          std::string& problem) {
  std::vector<GlobalValue> base;
  for (std::size_t g = 0; g < plan.globals.size(); g++) {
    std::optional<GlobalValue> value =
        valueOfLiteral(plan.globals[g], model.globalValues[plan.globals[g].declared]);
    if (!value) {
      return std::nullopt;
    }
    base.push_back(std::move(*value));
  }
  std::size_t combinations = 1;
  for (const Resolved& r : resolved) {
    combinations *= r.values.size();
    if (combinations > kMaxSweepValues) {
      problem = "the sweep has more than " + std::to_string(kMaxSweepValues) + " experiments";
      return std::nullopt;
    }
  }
  for (std::size_t e = 0; e < combinations; e++) {
    std::vector<GlobalValue> values = base;
    std::size_t block = combinations;  // experiments per value of the current variable
    for (const Resolved& r : resolved) {
      block /= r.values.size();
      values[r.global] = r.values[(e / block) % r.values.size()];
    }
    plan.experiments.push_back({static_cast<int>(e) + 1, shownOf(values),
                                {"-B0", "-O" + joinedSettings(values)}});
  }
  return plan;
}

}  // namespace

std::optional<StudyPlan> planDescribedStudy(const sanc::Model& model,
                                            const std::vector<SweepAssignment>& assignments,
                                            std::string& problem) {
  StudyPlan plan;
  plan.globals = globalsOf(model);
  std::optional<std::vector<Resolved>> resolved =
      resolve(model, plan.globals, assignments, problem);
  if (!resolved) {
    return std::nullopt;
  }
  const bool sweeping = std::any_of(resolved->begin(), resolved->end(),
                                 [](const Resolved& r) { return r.varies; });
  if (sweeping) {
    // Set values count as one-valued sweeps; they stay out of the chart's order.
    for (const Resolved& r : *resolved) {
      if (r.varies) {
        plan.listed.push_back(r.global);
      }
    }
    std::optional<StudyPlan> swept = sweptExperiments(model, std::move(plan), *resolved, problem);
    if (!swept && problem.empty()) {
      problem = "a default value of the description cannot be read";
    }
    return swept;
  }
  if (model.file->study) {
    for (const sanc::StudyValues& assignment : model.file->study->assignments) {
      for (std::size_t g = 0; g < plan.globals.size(); g++) {
        if (plan.globals[g].name == assignment.global.text) {
          plan.listed.push_back(g);
        }
      }
    }
  }
  std::optional<StudyPlan> described = describedExperiments(model, std::move(plan), *resolved);
  if (!described) {
    problem = "a value of the description's study cannot be read";
  }
  return described;
}

StudyPlan planNetStudy() {
  StudyPlan plan;
  plan.experiments.push_back({1, {}, {"-B0"}});
  return plan;
}

}  // namespace study
