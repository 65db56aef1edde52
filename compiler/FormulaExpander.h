#ifndef COMPILER_FORMULAEXPANDER_H_
#define COMPILER_FORMULAEXPANDER_H_

#include <map>
#include <string>
#include <vector>

#include "compiler/Ast.h"
#include "compiler/Diagnostics.h"

namespace sanc {

// Puts named formulas in place: every expression that names a formula gets
// the formula's expression instead (in brackets, so that it means what it
// means on its own), and C++ code that names one reads the places the
// formula reads. Reports formulas that use themselves, formulas that clash
// with the names of their scope, and derived globals that read a global
// declared after them or themselves.
class FormulaExpander {
 public:
  FormulaExpander(Diagnostics& diagnostics, ModelFile& file) : Diags(diagnostics), File(file) {}

  void expand();

 private:
  // The formulas visible in one scope: an atomic model's, then the file's.
  struct Scope {
    std::map<std::string, FormulaDecl*> formulas;
    const Scope* outer = nullptr;

    FormulaDecl* find(const std::string& name) const;
    // The scope that declares the formula called name (this one or an outer).
    const Scope& owner(const std::string& name) const;
  };
  enum class Visit { New, Open, Done };

  void declare(std::vector<FormulaDecl>& formulas, Scope& scope);
  // The formula with its own formulas in place; false after reporting a
  // formula that uses itself.
  bool resolve(FormulaDecl& formula, const Scope& scope, std::vector<std::string>& path);
  Expr substitute(const Expr& expr, const Scope& scope, std::vector<std::string>& path, bool& ok);
  // Puts the formulas of scope in place in an expression, or records the
  // places they read for C++ code.
  void expandCode(Code& code, const Scope& scope);
  void expandCode(std::optional<Code>& code, const Scope& scope);
  void expandAtomic(AtomicDecl& atomic, const Scope& file);
  void checkDerivedGlobals();

  Diagnostics& Diags;
  ModelFile& File;
  std::map<const FormulaDecl*, Visit> Visits;
};

// The Code of an expression tree: its C++ and the names it reads; where
// and padding stay those of the code it replaces.
void setExpression(Code& code, Expr expr);

}  // namespace sanc

#endif
