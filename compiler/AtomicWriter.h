#ifndef COMPILER_ATOMICWRITER_H_
#define COMPILER_ATOMICWRITER_H_

#include <string>
#include <utility>
#include <vector>

#include "compiler/CodeWriter.h"
#include "compiler/Model.h"

namespace sanc {

// Writes the C++ of one atomic model: a SANModel subclass with one nested
// Activity subclass per activity (per case, for an activity with cases).
class AtomicWriter {
 public:
  explicit AtomicWriter(const Atomic& atomic) : Model(atomic), Decl(*atomic.decl) {}

  void declare(CodeWriter& out) const;
  void define(CodeWriter& out) const;

  // "ram_systemSAN".
  static std::string className(const Atomic& atomic) { return atomic.name() + "SAN"; }

 private:
  // The C++ of the model's expansion: its places and activity instances,
  // with the arrays and families sized by global variables computed.
  std::string expansionCode() const;
  void declareAction(CodeWriter& out, const Action& action) const;
  void defineConstructor(CodeWriter& out) const;
  void definePlaces(CodeWriter& out) const;
  // Checks, as the model is built, the multiplicities that read no place.
  void checkMultiplicities(CodeWriter& out) const;
  // Whether code mentions a place of the model (so depends on the marking).
  bool readsPlace(const Code& code) const;
  void defineArcs(CodeWriter& out) const;
  // Builds the members of a family of activities (the actions of group, one
  // group per index) and lists them, after the other activities.
  void defineFamily(CodeWriter& out, const Group& group) const;
  void defineAction(CodeWriter& out, const Action& action) const;
  void defineEnabled(CodeWriter& out, const Action& action, const std::string& scope) const;
  // The places and tokens that Enabled() checks first, with nothing else
  // evaluated before them: the input arcs of single places with constant
  // multiplicities, up to the first arc whose multiplicity is code.
  std::vector<std::pair<std::string, long>> tokenNeeds(const Action& action) const;
  void defineNeeds(CodeWriter& out, const Action& action, const std::string& scope) const;
  void defineTiming(CodeWriter& out, const Action& action, const std::string& scope) const;
  void defineChoice(CodeWriter& out, const Action& action, const std::string& scope) const;
  void defineFire(CodeWriter& out, const Action& action, const std::string& scope) const;
  // Moves an arc's tokens, with the check of the marking's range; sign is
  // "-" for an input arc.
  void writeArcTokens(CodeWriter& out, const Arc& arc, const char* sign) const;
  void writeMultiplicity(CodeWriter& out, const Arc& arc) const;
  void writeStatements(CodeWriter& out, const Action& action, const Code& code) const;
  // A function that returns code's value, with the places it mentions bound.
  void defineReturning(CodeWriter& out, const std::string& signature, const Code& code,
                       const Action& action) const;
  // Binds, for code of action, the name of every place it mentions to the
  // place's marking (read-only unless writable).
  void bindPlaces(CodeWriter& out, const Action& action, const std::vector<const Code*>& codes,
                  bool writable) const;
  // The marking an arc moves tokens of, as a C++ lvalue.
  std::string cellOf(const Arc& arc) const;
  // The model's parameters as a C++ parameter list, each preceded by
  // attribute.
  std::string parameterList(const std::string& attribute = "") const;
  // The parameters of an action's constructor: the model's, then a family
  // member's index.
  std::string actionParameters(const Action& action) const;
  // The parameters' names, each as "name(name)" when initialized.
  std::string memberList(bool initialized) const;
  const std::string& placeName(int place) const { return Decl.places[place].name.text; }

  const Atomic& Model;
  const AtomicDecl& Decl;
};

// The class of a place of that size: Place, or the place array's.
std::string placeClass(int size);

}  // namespace sanc

#endif
