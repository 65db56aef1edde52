#ifndef COMPILER_RESERVEDNAMES_H_
#define COMPILER_RESERVEDNAMES_H_

#include <string>
#include <string_view>

namespace sanc {

// Why name cannot name anything in a model (it becomes a C++ identifier in
// the generated code): "a C++ keyword", "reserved in C++", "a name the
// framework uses", "a macro of the C++ headers" or "a name the generated
// code uses"; empty when it can.
std::string reservedReason(std::string_view name);
// The same for a global variable, which also cannot take the name of a
// function of the C library at global scope ("a function of the C library").
std::string globalReservedReason(std::string_view name);

}  // namespace sanc

#endif
