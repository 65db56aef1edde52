#ifndef COMPILER_ATOMICCHECKER_H_
#define COMPILER_ATOMICCHECKER_H_

#include <map>
#include <string>
#include <vector>

#include "compiler/Ast.h"
#include "compiler/CheckContext.h"
#include "compiler/Model.h"

namespace sanc {

// Checks one atomic model: its names, places, arcs, timings and cases; and
// lays out its generated activity classes and group table.
class AtomicChecker {
 public:
  AtomicChecker(CheckContext& context, const AtomicDecl& decl) : Context(context), Decl(decl) {}

  // The checked model; errors go to the context.
  Atomic check();

 private:
  void declareNames();
  // Checks a place and returns its size: an array's, or 0 for one place.
  int checkPlace(const PlaceDecl& place);
  void checkActivity(const ActivityDecl& activity);
  void checkTiming(const ActivityDecl& activity);
  void checkFamily(const FamilyDecl& family);
  // A parameter of the model, or the index of the family being checked.
  bool isParameter(const std::string& name) const;
  void checkClausesForTiming(const ActivityDecl& activity);
  void checkArcs(const std::vector<Arc>& arcs);
  // The index of an arc on an array of places, or its absence on a place.
  void checkIndex(const Arc& arc);
  void checkCases(const ActivityDecl& activity);
  void checkAlwaysEnabled(const ActivityDecl& activity);
  void checkPositive(const std::optional<Code>& code, const char* what);
  // Every name an expression reads is a place, parameter or global variable.
  void checkExpression(const Code& code);
  void checkArrayUse(const Expr& use, int size);
  // Reports every name code reads that is not a global variable (or, when
  // parameters, a parameter or the family's index); false then.
  bool readsOnly(const Code& code, const std::string& what, bool parameters);
  // Reports the integer divisions of the clauses' C++ code.
  void checkCppCode(const Clauses& clauses);
  void addActions(const ActivityDecl& activity, Atomic& atomic) const;
  Action makeAction(const ActivityDecl& activity, const CaseDecl* caseDecl, int caseNumber,
                    int group) const;
  // Appends the places that code mentions, or that arcs join, to places,
  // each once.
  void collect(std::vector<int>& places, const std::optional<Code>& code) const;
  void collect(std::vector<int>& places, const std::vector<Arc>& arcs) const;

  CheckContext& Context;
  const AtomicDecl& Decl;
  NameTable Names;
  std::map<std::string, int> PlaceIndex;
  std::vector<int> PlaceSizes;
  std::vector<std::string> PlaceSizeCode;
  const std::string* Family = nullptr;  // the index of the activity being checked
};

}  // namespace sanc

#endif
