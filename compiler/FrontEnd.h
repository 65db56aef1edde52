#ifndef COMPILER_FRONTEND_H_
#define COMPILER_FRONTEND_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "compiler/Diagnostics.h"
#include "compiler/Model.h"

namespace sanc {

// The largest model description read, in bytes; it bounds what any input
// can cost.
constexpr std::size_t kMaxSourceSize = 1 << 20;

// The largest number of imports of a description.
constexpr std::size_t kMaxImports = 16;

// Reads a file that a description imports from, given its path (the import's
// path resolved against the folder of the description); nullopt when it
// cannot be read.
using FileLoader = std::function<std::optional<std::string>(const std::string& path)>;

// Reads and checks a model description, whose file name is the diagnostics'
// (imports are resolved against its folder and read through load; without
// a loader, no import can be read). Returns the checked model, or nullopt
// with at least one error in diagnostics. Writes nothing, and ends on any
// input.
std::optional<Model> compileModel(std::string_view source, Diagnostics& diagnostics,
                                  const FileLoader& load = nullptr);

}  // namespace sanc

#endif
