#ifndef COMPILER_EXPANSIONCHECKER_H_
#define COMPILER_EXPANSIONCHECKER_H_

#include <map>
#include <optional>

#include "compiler/CheckContext.h"
#include "compiler/Model.h"

namespace sanc {

// Reports a model tree whose places or activity instances would pass the
// limits of the built model (sanc_runtime::kMaxPlaces, kMaxActivities)
// with the numbers of copies that are constants, at the count or child
// that passes them. Counts, array sizes and family bounds over global
// variables are checked when the model is built, by the generated code.
class ExpansionChecker {
 public:
  ExpansionChecker(CheckContext& context, const Model& model) : Context(context), Target(model) {}

  void check();

 private:
  // The expansion of a model; nullopt when a count is not a constant or
  // the model passes a limit (reported once).
  std::optional<sanc_runtime::Expansion> expansionOf(ModelRef model);
  std::optional<sanc_runtime::Expansion> joinExpansion(const Join& join);

  CheckContext& Context;
  const Model& Target;
  std::map<int, std::optional<sanc_runtime::Expansion>> Joins;  // by join index, once computed
};

}  // namespace sanc

#endif
