#ifndef TESTS_BASECLASSES_TRACETESTMODELS_H_
#define TESTS_BASECLASSES_TRACETESTMODELS_H_

#include <string>
#include <vector>

#include "Cpp/BaseClasses/BaseModelClass.h"
#include "Cpp/BaseClasses/state/Place.h"
#include "tests/BaseClasses/StubModel.h"

namespace trace_test {

// A model node with the state slots stubbed out; the tree printing reads
// only names, local variables and children.
class TreeNode : public StubModel {
 public:
  std::vector<BaseStateVariableClass*> Variables;  // not owned; empty for a composer
  std::vector<BaseModelClass*> Children;           // not owned

  explicit TreeNode(const char* name) { DefineName(name); }
  void addPlace(Place* place) {
    Variables.push_back(place);
    NumStateVariables = static_cast<int>(Variables.size());
  }

  BaseStateVariableClass** GetLocalStateVariables(std::ostream*) override {
    return Variables.empty() ? nullptr : Variables.data();
  }
  int GetNumberOfChildren() override { return static_cast<int>(Children.size()); }
  BaseModelClass* GetChild(int i) override { return Children[i]; }
};

// The line that opens a model's block in the trace.
inline std::string modelLine(const BaseModelClass& m) {
  return "  Model: (" + std::to_string(m.ModelId) + ")" + m.Name + "\n";
}

}  // namespace trace_test

#endif
