#ifndef TESTS_MODELVIEWS_H_
#define TESTS_MODELVIEWS_H_

// Views of models for comparisons in the tests: state vectors as byte
// strings.

#include <string>
#include <vector>

#include "Cpp/BaseClasses/BaseModelClass.h"

namespace model_views {

// The state vector of places holding values, in order, one short each.
inline std::string shorts(const std::vector<short>& values) {
  return std::string(reinterpret_cast<const char*>(values.data()), 2 * values.size());
}

// The current state vector of model.
inline std::string stateOf(BaseModelClass& model) {
  std::string buf(model.StateSize(), '\0');
  model.CurrentState(&buf[0]);
  return buf;
}

}  // namespace model_views

#endif
