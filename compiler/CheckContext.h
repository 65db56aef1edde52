#ifndef COMPILER_CHECKCONTEXT_H_
#define COMPILER_CHECKCONTEXT_H_

#include <map>
#include <string>
#include <vector>

#include "compiler/Ast.h"
#include "compiler/Diagnostics.h"

namespace sanc {

// What the checks of every part of a model share: where errors go, and the
// global variables every piece of code can read.
class CheckContext {
 public:
  CheckContext(Diagnostics& diagnostics, const std::vector<GlobalDecl>& globals)
      : Diags(diagnostics), Globals(globals) {}

  Diagnostics& diags() { return Diags; }
  void error(SourceLocation where, std::string message) { Diags.error(where, std::move(message)); }
  // The global variable called name, or null.
  const GlobalDecl* global(const std::string& name) const;
  // Reports a name that C++ or the framework reserves, or that hides a
  // global variable when hidesGlobal; false then.
  bool usableName(const Name& name, const char* what, bool hidesGlobal = true);
  // The same for a global variable's name.
  bool usableGlobalName(const Name& name);

 private:
  // Reports name when reason (why it is reserved) is not empty; true then.
  bool reserved(const Name& name, const char* what, const std::string& reason);

  Diagnostics& Diags;
  const std::vector<GlobalDecl>& Globals;
};

// The names declared in one scope, to report a second declaration.
class NameTable {
 public:
  // Adds name, declared as a what; when it is taken, reports what took it
  // first and where, and returns false.
  bool add(CheckContext& context, const Name& name, const std::string& what);

 private:
  struct Declaration {
    SourceLocation where;
    std::string what;
  };
  std::map<std::string, Declaration> Seen;
};

// "line N" for messages that point back at an earlier declaration.
std::string lineOf(SourceLocation where);

}  // namespace sanc

#endif
