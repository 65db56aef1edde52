#include "compiler/CheckContext.h"

#include "compiler/ReservedNames.h"

namespace sanc {

const GlobalDecl* CheckContext::global(const std::string& name) const {
  for (const GlobalDecl& decl : Globals) {
    if (decl.name.text == name) {
      return &decl;
    }
  }
  return nullptr;
}

bool CheckContext::usableGlobalName(const Name& name) {
  return !reserved(name, "global variable", globalReservedReason(name.text));
}

bool CheckContext::reserved(const Name& name, const char* what, const std::string& reason) {
  if (!reason.empty()) {
    error(name.where, "'" + name.text + "' is " + reason + " and cannot name a " + what);
  }
  return !reason.empty();
}

bool CheckContext::usableName(const Name& name, const char* what, bool hidesGlobal) {
  if (reserved(name, what, reservedReason(name.text))) {
    return false;
  }
  if (hidesGlobal && global(name.text) != nullptr) {
    error(name.where, "the " + std::string(what) + " '" + name.text +
                          "' would hide the global variable of that name (" +
                          lineOf(global(name.text)->name.where) + ")");
    return false;
  }
  return true;
}

bool NameTable::add(CheckContext& context, const Name& name, const std::string& what) {
  const auto [entry, added] = Seen.emplace(name.text, Declaration{name.where, what});
  if (!added) {
    const std::string& first = entry->second.what;
    const char* article = std::string("aeiou").find(first[0]) == std::string::npos ? "a " : "an ";
    context.error(name.where, "'" + name.text + "' is already declared as " + article + first +
                                  " (" + lineOf(entry->second.where) + ")");
  }
  return added;
}

std::string lineOf(SourceLocation where) { return "line " + std::to_string(where.line); }

}  // namespace sanc
