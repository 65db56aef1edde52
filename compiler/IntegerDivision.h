#ifndef COMPILER_INTEGERDIVISION_H_
#define COMPILER_INTEGERDIVISION_H_

#include <functional>
#include <string>

#include "compiler/CheckContext.h"
#include "compiler/Lexer.h"

namespace sanc {

// Reports, in C++ code of a description (a predicate, a do block, a rank),
// every division of two whole numbers: integer literals, or names for which
// isInteger holds, as in "n / 2" or "1 / 60". C++ drops the remainder there,
// which a modeller rarely means; the message says what to write instead.
void reportIntegerDivisions(CheckContext& context, const Code& code,
                            const std::function<bool(const std::string&)>& isInteger);

}  // namespace sanc

#endif
