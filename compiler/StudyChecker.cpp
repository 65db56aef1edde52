#include "compiler/StudyChecker.h"

#include "compiler/Literals.h"

namespace sanc {

void StudyChecker::check() {
  const std::optional<StudyDecl>& decl = Target.file->study;
  Study& study = Target.study;
  study.name = decl && decl->name ? decl->name->text : "";
  study.isRange = !decl || decl->isRange;
  const std::size_t errorsBefore = Context.diags().errors().size();
  std::vector<std::vector<std::string>> lists;
  NameTable names;
  const std::vector<GlobalDecl>& globals = Target.file->globals;
  for (std::size_t a = 0; decl && a < decl->assignments.size(); a++) {
    const StudyValues& assignment = decl->assignments[a];
    const GlobalDecl* global = Context.global(assignment.global.text);
    if (global == nullptr) {
      Context.error(assignment.global.where,
                    "there is no global variable '" + assignment.global.text + "'");
      continue;
    }
    if (!names.add(Context, assignment.global, "value list of the study")) {
      continue;
    }
    if (global->derived) {
      Context.error(assignment.global.where,
                    "'" + assignment.global.text +
                        "' is computed from its default; vary the globals it is computed from, "
                        "or give it a number as its default");
      continue;
    }
    std::optional<std::vector<std::string>> values = valuesOf(assignment, global->type);
    if (values) {
      Assigned.push_back(static_cast<int>(global - globals.data()));
      lists.push_back(std::move(*values));
    }
  }
  if (Context.diags().errors().size() > errorsBefore) {
    return;
  }
  if (study.isRange ? layOutRange(lists) : layOutSet(lists)) {
    return;
  }
  Context.error(decl->where,
                "the study has more than " + std::to_string(kMaxExperiments) + " experiments");
}

std::optional<std::vector<std::string>> StudyChecker::valuesOf(const StudyValues& assignment,
                                                               ValueType type) {
  if (assignment.first) {
    return rangeOf(assignment, type);
  }
  std::vector<std::string> values;
  for (const Literal& literal : assignment.list) {
    std::string problem;
    std::optional<std::string> value = cppLiteral(type, literal.text, problem);
    if (!value) {
      Context.error(literal.where, literal.text + " " + problem + " (" + assignment.global.text +
                                       " is a " + typeName(type) + ")");
      return std::nullopt;
    }
    values.push_back(std::move(*value));
  }
  return values;
}

std::optional<std::vector<std::string>> StudyChecker::rangeOf(const StudyValues& assignment,
                                                              ValueType type) {
  if (!isIntegerType(type)) {
    Context.error(assignment.first->where, "a range 'a .. b' counts whole numbers, but " +
                                               assignment.global.text + " is a " + typeName(type) +
                                               "; list its values");
    return std::nullopt;
  }
  const std::optional<long> first = integer(*assignment.first);
  const std::optional<long> last = integer(*assignment.last);
  const std::optional<long> step = assignment.step ? integer(*assignment.step) : 1L;
  if (!first || !last || !step) {
    return std::nullopt;
  }
  if (*step < 1 || *last < *first) {
    Context.error(assignment.first->where,
                  "a range runs upwards from its first to its last value in steps of at least 1");
    return std::nullopt;
  }
  if ((*last - *first) / *step >= kMaxExperiments) {
    Context.error(assignment.first->where,
                  "the range has more than " + std::to_string(kMaxExperiments) + " values");
    return std::nullopt;
  }
  StudyValues listed{assignment.global, {}, std::nullopt, std::nullopt, std::nullopt};
  for (long value = *first; value <= *last; value += *step) {
    listed.list.push_back(Literal{std::to_string(value), assignment.first->where});
  }
  return valuesOf(listed, type);
}

std::optional<long> StudyChecker::integer(const Literal& literal) {
  // Far from the limits of long, so that counting through a range cannot
  // overflow.
  constexpr long kLargest = 1000000000000L;
  const std::optional<long> value = integerValue(literal.text);
  if (!value) {
    Context.error(literal.where, literal.text + " is not a whole number");
  } else if (*value < -kLargest || *value > kLargest) {
    Context.error(literal.where, literal.text + " is too large for a range");
    return std::nullopt;
  }
  return value;
}

bool StudyChecker::layOutRange(const std::vector<std::vector<std::string>>& lists) {
  long experiments = 1;
  for (const std::vector<std::string>& list : lists) {
    experiments *= static_cast<long>(list.size());
    if (experiments > kMaxExperiments) {
      return false;
    }
  }
  Study& study = Target.study;
  study.numExperiments = static_cast<int>(experiments);
  study.values.clear();
  for (const std::string& value : Target.globalValues) {
    study.values.emplace_back(experiments, value);
  }
  long block = experiments;  // experiments per value of the current variable
  for (std::size_t a = 0; a < lists.size(); a++) {
    block /= static_cast<long>(lists[a].size());
    for (long e = 0; e < experiments; e++) {
      study.values[Assigned[a]][e] = lists[a][(e / block) % lists[a].size()];
    }
  }
  return true;
}

bool StudyChecker::layOutSet(const std::vector<std::vector<std::string>>& lists) {
  Study& study = Target.study;
  const std::size_t experiments = lists.empty() ? 1 : lists.front().size();
  for (std::size_t a = 1; a < lists.size(); a++) {
    if (lists[a].size() != experiments) {
      const StudyValues& assignment = Target.file->study->assignments[a];
      Context.error(assignment.global.where,
                    assignment.global.text + " has " + std::to_string(lists[a].size()) +
                        " values, but the experiments of a set study take one value of each "
                        "variable and the first variable has " +
                        std::to_string(experiments));
      return true;
    }
  }
  if (experiments > static_cast<std::size_t>(kMaxExperiments)) {
    return false;
  }
  study.numExperiments = static_cast<int>(experiments);
  study.values.clear();
  for (const std::string& value : Target.globalValues) {
    study.values.emplace_back(experiments, value);
  }
  for (std::size_t a = 0; a < lists.size(); a++) {
    study.values[Assigned[a]] = lists[a];
  }
  return true;
}

}  // namespace sanc
