#include "compiler/FormulaExpander.h"

#include <algorithm>

#include "compiler/CheckContext.h"

namespace sanc {

void setExpression(Code& code, Expr expr) {
  code.text = toCpp(expr);
  code.names.clear();
  forEachName(expr, [&](const Expr& use) {
    code.names.push_back(
        CodeName{use.text, use.where, use.kind == Expr::Kind::Member ? use.member : ""});
  });
  code.expr = std::make_shared<const Expr>(std::move(expr));
}

FormulaDecl* FormulaExpander::Scope::find(const std::string& name) const {
  for (const Scope* scope = this; scope != nullptr; scope = scope->outer) {
    const auto found = scope->formulas.find(name);
    if (found != scope->formulas.end()) {
      return found->second;
    }
  }
  return nullptr;
}

const FormulaExpander::Scope& FormulaExpander::Scope::owner(const std::string& name) const {
  return formulas.count(name) > 0 || outer == nullptr ? *this : outer->owner(name);
}

void FormulaExpander::expand() {
  Scope file;
  declare(File.formulas, file);
  for (const GlobalDecl& global : File.globals) {
    if (file.formulas.count(global.name.text) > 0) {
      const FormulaDecl* formula = file.formulas.at(global.name.text);
      Diags.error(formula->name.where, "the formula '" + global.name.text +
                                           "' would hide the global variable of that name (" +
                                           lineOf(global.name.where) + ")");
    }
  }
  for (GlobalDecl& global : File.globals) {
    expandCode(global.derived, file);
  }
  checkDerivedGlobals();
  for (AtomicDecl& atomic : File.atomics) {
    expandAtomic(atomic, file);
  }
  if (File.rewards) {
    for (RewardDecl& reward : File.rewards->variables) {
      expandCode(reward.rate, file);
      expandCode(reward.condition, file);
      for (ImpulseDecl& impulse : reward.impulses) {
        expandCode(impulse.value, file);
      }
    }
  }
}

void FormulaExpander::declare(std::vector<FormulaDecl>& formulas, Scope& scope) {
  for (FormulaDecl& formula : formulas) {
    const auto [entry, added] = scope.formulas.emplace(formula.name.text, &formula);
    if (!added) {
      Diags.error(formula.name.where, "'" + formula.name.text +
                                          "' is already declared as a formula (" +
                                          lineOf(entry->second->name.where) + ")");
    }
  }
}

void FormulaExpander::expandAtomic(AtomicDecl& atomic, const Scope& file) {
  Scope scope;
  scope.outer = &file;
  declare(atomic.formulas, scope);
  for (PlaceDecl& place : atomic.places) {
    expandCode(place.size, scope);
    expandCode(place.initial, scope);
  }
  auto expandClauses = [&](Clauses& clauses) {
    expandCode(clauses.guard, scope);
    expandCode(clauses.statements, scope);
    expandCode(clauses.rank, scope);
    expandCode(clauses.weight, scope);
    for (std::vector<Arc>* arcs : {&clauses.inputs, &clauses.outputs}) {
      for (Arc& arc : *arcs) {
        expandCode(arc.index, scope);
        expandCode(arc.multiplicity, scope);
      }
    }
  };
  for (ActivityDecl& activity : atomic.activities) {
    if (activity.family) {
      expandCode(activity.family->first, scope);
      expandCode(activity.family->last, scope);
    }
    expandCode(activity.time, scope);
    expandCode(activity.phases, scope);
    expandClauses(activity.clauses);
    for (CaseDecl& caseDecl : activity.cases) {
      expandCode(caseDecl.value, scope);
      expandClauses(caseDecl.clauses);
    }
  }
  // Each formula once more, so that the writer finds it whole.
  for (FormulaDecl& formula : atomic.formulas) {
    std::vector<std::string> path;
    resolve(formula, scope, path);
  }
}

bool FormulaExpander::resolve(FormulaDecl& formula, const Scope& scope,
                              std::vector<std::string>& path) {
  Visit& visit = Visits[&formula];
  if (visit == Visit::Done) {
    return formula.expanded != nullptr;
  }
  path.push_back(formula.name.text);
  if (visit == Visit::Open) {
    std::string cycle;
    const auto first = std::find(path.begin(), path.end(), formula.name.text);
    for (auto name = first; name != path.end(); ++name) {
      cycle += (cycle.empty() ? "" : " -> ") + *name;
    }
    Diags.error(formula.name.where,
                "the formula '" + formula.name.text + "' is computed from itself (" + cycle + ")");
    path.pop_back();
    return false;
  }
  visit = Visit::Open;
  bool ok = true;
  Expr expanded = substitute(*formula.value.expr, scope, path, ok);
  Visits[&formula] = Visit::Done;
  if (ok) {
    formula.expanded = std::make_shared<const Expr>(std::move(expanded));
  }
  path.pop_back();
  return ok;
}

Expr FormulaExpander::substitute(const Expr& expr, const Scope& scope,
                                 std::vector<std::string>& path, bool& ok) {
  if (expr.kind == Expr::Kind::Name) {
    if (FormulaDecl* formula = scope.find(expr.text)) {
      // A file formula sees the file's formulas only.
      if (!resolve(*formula, scope.owner(expr.text), path)) {
        ok = false;
        return expr;
      }
      return *formula->expanded;
    }
  }
  Expr copy = expr;
  for (Expr& operand : copy.operands) {
    operand = substitute(operand, scope, path, ok);
  }
  return copy;
}

void FormulaExpander::expandCode(std::optional<Code>& code, const Scope& scope) {
  if (code) {
    expandCode(*code, scope);
  }
}

void FormulaExpander::expandCode(Code& code, const Scope& scope) {
  const bool named = std::any_of(code.names.begin(), code.names.end(), [&](const CodeName& use) {
    return use.member.empty() && scope.find(use.name) != nullptr;
  });
  if (!named) {
    return;
  }
  if (code.expr) {
    std::vector<std::string> path;
    bool ok = true;
    Expr expanded = substitute(*code.expr, scope, path, ok);
    if (ok) {
      setExpression(code, std::move(expanded));
    }
    return;
  }
  // C++ code reads a formula as a local the writer binds: it reads the
  // places the formula reads.
  std::vector<CodeName> added;
  for (const CodeName& use : code.names) {
    FormulaDecl* formula = use.member.empty() ? scope.find(use.name) : nullptr;
    std::vector<std::string> path;
    if (formula != nullptr && resolve(*formula, scope.owner(use.name), path)) {
      forEachName(*formula->expanded, [&](const Expr& read) {
        added.push_back(CodeName{read.text, read.where, ""});
      });
    }
  }
  code.names.insert(code.names.end(), added.begin(), added.end());
}

void FormulaExpander::checkDerivedGlobals() {
  for (std::size_t g = 0; g < File.globals.size(); g++) {
    const GlobalDecl& global = File.globals[g];
    if (!global.derived || !global.derived->expr) {
      continue;
    }
    forEachName(*global.derived->expr, [&](const Expr& use) {
      const auto declared =
          std::find_if(File.globals.begin(), File.globals.end(),
                       [&](const GlobalDecl& other) { return other.name.text == use.text; });
      if (use.kind != Expr::Kind::Name || declared == File.globals.end()) {
        Diags.error(use.where, "the default of '" + global.name.text +
                                   "' reads global variables and formulas only, not '" + use.text +
                                   (use.member.empty() ? "" : "." + use.member) + "'");
      } else if (declared - File.globals.begin() >= static_cast<long>(g)) {
        Diags.error(use.where, declared->name.text == global.name.text
                                   ? "'" + global.name.text + "' is computed from itself"
                                   : "the default of '" + global.name.text + "' reads '" +
                                         use.text + "', which is declared after it (" +
                                         lineOf(declared->name.where) +
                                         "); a default reads only the globals declared before it");
      }
    });
  }
}

}  // namespace sanc
