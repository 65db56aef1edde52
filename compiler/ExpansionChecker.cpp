#include "compiler/ExpansionChecker.h"

#include <string>

#include "compiler/Literals.h"

namespace sanc {

void ExpansionChecker::check() { expansionOf(Target.root); }

std::optional<sanc_runtime::Expansion> ExpansionChecker::expansionOf(ModelRef model) {
  if (model.kind == ModelKind::Atomic) {
    return Target.atomics[model.index].expansion();
  }
  const auto known = Joins.find(model.index);
  if (known != Joins.end()) {
    return known->second;
  }
  return Joins[model.index] = joinExpansion(Target.joins[model.index]);
}

std::optional<sanc_runtime::Expansion> ExpansionChecker::joinExpansion(const Join& join) {
  sanc_runtime::Expansion total;
  for (const Child& child : join.children) {
    const std::optional<sanc_runtime::Expansion> each = expansionOf(child.model);
    const std::optional<double> count =
        child.decl->count ? constantValue(*child.decl->count) : std::optional<double>(1.0);
    if (!each || !count) {
      return std::nullopt;
    }
    const long copies = static_cast<long>(*count);
    const std::string beyond = sanc_runtime::beyondLimits(total, copies, *each);
    if (!beyond.empty()) {
      const SourceLocation where =
          child.decl->count ? child.decl->count->where : child.decl->instance.where;
      Context.error(where, "join '" + join.name() + "' with " + std::to_string(copies) +
                               " copies of '" + child.instance() + "' would hold " + beyond);
      return std::nullopt;
    }
    total.places += copies * each->places;
    total.activities += copies * each->activities;
  }
  const std::optional<long> shared = join.sharedPlaces();
  if (!shared) {
    return std::nullopt;
  }
  const std::string beyond = sanc_runtime::beyondLimits(total, 1, {*shared, 0});
  if (!beyond.empty()) {
    Context.error(join.decl->name.where,
                  "join '" + join.name() + "' with its shared places would hold " + beyond);
    return std::nullopt;
  }
  total.places += *shared;
  return total;
}

}  // namespace sanc
