#ifndef COMPILER_JOINWRITER_H_
#define COMPILER_JOINWRITER_H_

#include <string>

#include "compiler/CodeWriter.h"
#include "compiler/Model.h"

namespace sanc {

// Writes the C++ of one join: a Join subclass that builds its children,
// repeated ones as many times as their count says, and shares their places.
class JoinWriter {
 public:
  JoinWriter(const Model& model, const Join& join) : Whole(model), Composed(join) {}

  void declare(CodeWriter& out) const;
  void define(CodeWriter& out) const;

  // "kanbanRJ".
  static std::string className(const Join& join) { return join.name() + "RJ"; }
  // The class of a model: its atomic model's or its join's.
  static std::string classOf(const Model& model, ModelRef ref);

 private:
  bool repeats() const;
  void defineChildren(CodeWriter& out) const;
  // expansion(): the children's, times their copies, and the shared places.
  void defineExpansion(CodeWriter& out) const;
  void defineShares(CodeWriter& out) const;
  std::string childClass(const Child& child) const { return classOf(Whole, child.model); }

  const Model& Whole;
  const Join& Composed;
};

}  // namespace sanc

#endif
