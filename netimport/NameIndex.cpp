#include "netimport/NameIndex.h"

std::optional<int> NameIndex::find(const std::string& word, std::string& problem) const {
  const auto byId = ById.find(word);
  if (byId != ById.end()) {
    return byId->second;
  }
  const auto byName = ByName.find(word);
  if (byName == ByName.end()) {
    problem = "the net has no " + Kind + " with the id or name '" + word + "'";
    return std::nullopt;
  }
  if (byName->second == kSeveral) {
    problem = "several " + Kind + "s are named '" + word + "'; give its id instead";
    return std::nullopt;
  }
  return byName->second;
}
