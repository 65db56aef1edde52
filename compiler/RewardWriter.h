#ifndef COMPILER_REWARDWRITER_H_
#define COMPILER_REWARDWRITER_H_

#include <string>
#include <vector>

#include "compiler/CodeWriter.h"
#include "compiler/Model.h"

namespace sanc {

// Writes the C++ of the reward model: a PVModel subclass over the top model,
// and per reward variable a PerformanceVariableNode subclass with its
// worker (the rate reward) and its impulse classes.
class RewardWriter {
 public:
  explicit RewardWriter(const Model& model) : Whole(model) {}

  void declare(CodeWriter& out) const;
  void define(CodeWriter& out) const;

  // "kanban_rewardPVModel".
  static std::string className(const Model& model) { return model.rewardName + "PVModel"; }
  // "kanban_rewardPV0": the node class of reward variable index; its worker
  // class adds "Worker".
  static std::string nodeClass(const Model& model, std::size_t index);
  // "kanban_rewardPV0Impulse1": the class of impulse index of a node class.
  static std::string impulseClass(const std::string& node, std::size_t index);

 private:
  void declareVariable(CodeWriter& out, const Reward& reward, const std::string& node) const;
  void defineVariable(CodeWriter& out, const Reward& reward, const std::string& node) const;
  void defineWorker(CodeWriter& out, const Reward& reward, const std::string& node) const;
  // The arrays of the variable's time points ("times") or intervals
  // ("starts" and "stops"); nothing for a kind without either.
  void defineTimes(CodeWriter& out, const RewardDecl& decl) const;
  void defineImpulse(CodeWriter& out, const Impulse& impulse,
                     const std::string& impulseClass) const;
  // Constructor body lines that point ModelRefs at the model members.
  void defineModelRefs(CodeWriter& out, const std::vector<std::string>& instances) const;
  // Binds instance.place, for every place listed, to the place's marking in
  // the instance the member instance_Model points at.
  void bindInstance(CodeWriter& out, const std::string& instance, int atomic,
                    const std::vector<std::string>& places) const;
  // Binds binding to a struct of the markings of the atomic instance's
  // places: each field (member, place) reads place under the name member.
  void bindFields(CodeWriter& out, const std::string& binding, const std::string& instance,
                  int atomic, const std::vector<std::pair<std::string, std::string>>& fields) const;

  const Model& Whole;
};

}  // namespace sanc

#endif
