#ifndef COMPILER_COMPOSITIONCHECKER_H_
#define COMPILER_COMPOSITIONCHECKER_H_

#include <map>
#include <string>
#include <vector>

#include "compiler/CheckContext.h"
#include "compiler/Model.h"

namespace sanc {

// Checks how the models are composed: the joins, their children and shared
// places, that they form one tree, and that every instance name in the tree
// stands for one atomic model.
class CompositionChecker {
 public:
  CompositionChecker(CheckContext& context, Model& model) : Context(context), Target(model) {}

  // Fills the model's joins and root, and instances with the atomic model
  // of every instance name in the tree.
  void check(std::map<std::string, int>& instances);

 private:
  void declareModels();
  Join checkJoin(const JoinDecl& decl);
  void checkChild(const ChildDecl& decl, Join& join, NameTable& names);
  void checkShares(Join& join);
  void shareByName(const ShareDecl& decl, Share& share, const Join& join);
  void shareByMembers(const ShareDecl& decl, Share& share, const Join& join);
  // Sets the share's size; false, with an error, when its places are not
  // all single places or all arrays of one size.
  bool sizesAgree(const ShareDecl& decl, Share& share, const Join& join);
  void checkInitialMarkings(const ShareDecl& decl, const Share& share, const Join& join);
  enum class Visit { New, Open, Done };
  // Appends join to order after the joins it contains; false, with an
  // error, when it contains itself.
  bool orderJoins(int join, std::vector<Visit>& visits, std::vector<int>& order);
  void findRoot();
  void collectInstances(ModelRef model, std::map<std::string, int>& instances,
                        std::map<std::string, SourceLocation>& where);

  // The places a model of that type offers to a join: an atomic model's
  // places, a join's shared places.
  std::vector<std::string> placesOf(ModelRef model) const;
  // How the place starts in a model of that type: its constant value, or its
  // code with blanks dropped; empty when it depends on a parameter.
  std::string initialMarking(ModelRef model, const std::string& place) const;
  std::string modelName(ModelRef model) const;
  // The size of the place offered by a model of that type: an array's, or
  // 0; for kBuiltSize, the C++ that computes it goes to sizeCode.
  int placeSize(ModelRef model, const std::string& place, std::string& sizeCode) const;

  CheckContext& Context;
  Model& Target;
  std::map<std::string, ModelRef> Types;
};

}  // namespace sanc

#endif
