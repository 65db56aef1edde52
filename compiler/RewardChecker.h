#ifndef COMPILER_REWARDCHECKER_H_
#define COMPILER_REWARDCHECKER_H_

#include <map>
#include <set>
#include <string>

#include "compiler/CheckContext.h"
#include "compiler/Model.h"

namespace sanc {

// Checks the reward variables: their names, time points and intervals, the
// model instances and places their rate rewards and conditions read, and
// the activities that earn their impulses, on kinds that can use them.
class RewardChecker {
 public:
  // instances maps every instance name of the model tree to its atomic model.
  RewardChecker(CheckContext& context, Model& model, const std::map<std::string, int>& instances);

  void check();

 private:
  Reward checkVariable(const RewardDecl& decl);
  // Records the instances and places that code (the rate reward or the
  // condition, named what) reads; it must read one.
  void checkReads(const Code& code, const std::string& what, Reward& reward);
  // Records a read of a join's shared place (join.place); false when use
  // names no join.
  bool checkJoinRead(const CodeName& use, Reward& reward);
  void addModelUse(Reward& reward, const std::string& instance, int atomic,
                   const std::string& place);
  // An impulse is earned at an instant, so only the kinds that accumulate
  // can use it; the message says what to write instead.
  void checkImpulsesUsable(const RewardDecl& decl);
  void checkImpulse(const ImpulseDecl& decl, Reward& reward);
  // The atomic model of the instance a name in reward code reads, and
  // whether the use is well-formed; reports the errors.
  bool checkPlaceUse(const CodeName& use, int& atomic);
  // False, with an error, when time is not a number of at least 0.
  bool checkTime(const Literal& time);
  void checkInterval(const IntervalDecl& interval);

  CheckContext& Context;
  Model& Target;
  const std::map<std::string, int>& Instances;
  std::set<std::string> AllPlaces;  // of the atomic models in the tree
};

}  // namespace sanc

#endif
