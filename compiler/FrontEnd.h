#ifndef COMPILER_FRONTEND_H_
#define COMPILER_FRONTEND_H_

#include <optional>
#include <string_view>

#include "compiler/Diagnostics.h"
#include "compiler/Model.h"

namespace sanc {

// The largest model description read, in bytes; it bounds what any input
// can cost.
constexpr std::size_t kMaxSourceSize = 1 << 20;

// Reads and checks a model description. Returns the checked model, or
// nullopt with at least one error in diagnostics. Writes nothing, and ends
// on any input.
std::optional<Model> compileModel(std::string_view source, Diagnostics& diagnostics);

}  // namespace sanc

#endif
