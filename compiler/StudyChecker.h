#ifndef COMPILER_STUDYCHECKER_H_
#define COMPILER_STUDYCHECKER_H_

#include <optional>
#include <string>
#include <vector>

#include "compiler/CheckContext.h"
#include "compiler/Model.h"

namespace sanc {

// Checks the study and lays out its experiments: every global variable's
// value, as a C++ literal, in every experiment.
class StudyChecker {
 public:
  StudyChecker(CheckContext& context, Model& model) : Context(context), Target(model) {}

  void check();

 private:
  // The C++ literals of the values one assignment lists; nullopt after an
  // error.
  std::optional<std::vector<std::string>> valuesOf(const StudyValues& assignment, ValueType type);
  std::optional<std::vector<std::string>> rangeOf(const StudyValues& assignment, ValueType type);
  std::optional<long> integer(const Literal& literal);
  // Fills the experiments of a range study (every combination, the first
  // variable varying slowest) or a set study (the i-th value of each).
  bool layOutRange(const std::vector<std::vector<std::string>>& lists);
  bool layOutSet(const std::vector<std::vector<std::string>>& lists);

  CheckContext& Context;
  Model& Target;
  std::vector<int> Assigned;  // the global variable of each assignment
};

}  // namespace sanc

#endif
