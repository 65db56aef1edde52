#ifndef COMPILER_REWARDCHECKER_H_
#define COMPILER_REWARDCHECKER_H_

#include <map>
#include <set>
#include <string>

#include "compiler/CheckContext.h"
#include "compiler/Model.h"

namespace sanc {

// Checks the reward variables: their names and time points, the model
// instances and places their rate rewards read, and the activities that
// earn their impulses.
class RewardChecker {
 public:
  // instances maps every instance name of the model tree to its atomic model.
  RewardChecker(CheckContext& context, Model& model, const std::map<std::string, int>& instances);

  void check();

 private:
  Reward checkVariable(const RewardDecl& decl);
  void checkRate(const RewardDecl& decl, Reward& reward);
  void checkImpulse(const ImpulseDecl& decl, Reward& reward);
  // The atomic model of the instance a name in reward code reads, and
  // whether the use is well-formed; reports the errors.
  bool checkPlaceUse(const CodeName& use, int& atomic);
  void checkTime(const Literal& time);

  CheckContext& Context;
  Model& Target;
  const std::map<std::string, int>& Instances;
  std::set<std::string> AllPlaces;  // of the atomic models in the tree
};

}  // namespace sanc

#endif
