#include "compiler/Model.h"

#include <cmath>

namespace sanc {

int Atomic::placeIndex(const std::string& name) const {
  for (std::size_t p = 0; p < decl->places.size(); p++) {
    if (decl->places[p].name.text == name) {
      return static_cast<int>(p);
    }
  }
  return -1;
}

int Atomic::activityIndex(const std::string& name) const {
  for (std::size_t a = 0; a < decl->activities.size(); a++) {
    if (decl->activities[a].name.text == name) {
      return static_cast<int>(a);
    }
  }
  return -1;
}

std::optional<sanc_runtime::Expansion> Atomic::expansion() const {
  sanc_runtime::Expansion expansion;
  for (int size : placeSizes) {
    if (size == kBuiltSize) {
      return std::nullopt;
    }
    expansion.places += size == 0 ? 1 : size;
  }
  for (const Action& action : actions) {
    if (action.activity->family) {
      return std::nullopt;
    }
  }
  expansion.activities = static_cast<long>(actions.size());
  return expansion;
}

std::optional<long> Join::sharedPlaces() const {
  long places = 0;
  for (const Share& share : shares) {
    if (share.size == kBuiltSize) {
      return std::nullopt;
    }
    places += share.size == 0 ? 1 : share.size;
  }
  return places;
}

const std::string& Model::rootName() const {
  return root.kind == ModelKind::Atomic ? atomics[root.index].name() : joins[root.index].name();
}

const char* typeName(ValueType type) {
  switch (type) {
    case ValueType::Bool:
      return "bool";
    case ValueType::Char:
      return "char";
    case ValueType::Short:
      return "short";
    case ValueType::Int:
      return "int";
    case ValueType::Long:
      return "long";
    case ValueType::Float:
      return "float";
    case ValueType::Double:
      return "double";
  }
  return "";
}

std::string arcPlaceName(const Arc& arc) {
  if (!arc.index) {
    return arc.place.text;
  }
  const std::optional<long> index = constantIndex(arc);
  return arc.place.text + "[" + (index ? std::to_string(*index) : toSource(*arc.index->expr)) + "]";
}

std::optional<long> constantIndex(const Arc& arc) {
  const std::optional<double> value = arc.index ? evaluate(*arc.index->expr) : std::nullopt;
  if (!value || *value != std::floor(*value) || std::fabs(*value) > 1e9) {
    return std::nullopt;
  }
  return static_cast<long>(*value);
}

}  // namespace sanc
