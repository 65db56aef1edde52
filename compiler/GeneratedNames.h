#ifndef COMPILER_GENERATEDNAMES_H_
#define COMPILER_GENERATEDNAMES_H_

#include "compiler/CheckContext.h"
#include "compiler/Model.h"

namespace sanc {

// Reports the names of a checked model that the generated code gives to
// something else: classes and members are named after the description's
// names with suffixes (atomic model m is the class mSAN, activity a the
// member a and the class aActivity, ...), so a global variable called mSAN,
// or a place named like its own model's class, would not compile or would
// read the wrong thing. Each is reported at the name that must change.
void checkGeneratedNames(CheckContext& context, const Model& model);

}  // namespace sanc

#endif
