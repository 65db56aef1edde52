#ifndef COMPILER_RUNTIME_MODELHEADERS_H_
#define COMPILER_RUNTIME_MODELHEADERS_H_

// Everything the code that sanc generates includes. sanc refuses the names
// of the macros these headers define (EOF, NULL, errno ...), which it lists
// from this header when it is built.
#include <cstring>
#include <iostream>
#include <memory>
#include <vector>

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/BaseStudyClass.h"
#include "Cpp/BaseClasses/ImpulseNodeClass.h"
#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "Cpp/BaseClasses/PerformanceVariableWorker.h"
#include "Cpp/BaseClasses/PostselectGroup.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/SingleGroup.h"
#include "Cpp/BaseClasses/UserDistributions.h"
#include "Cpp/BaseClasses/state/Place.h"
#include "Cpp/Composer/Join.h"
#include "compiler/runtime/PlaceArray.h"
#include "compiler/runtime/SanRuntime.h"

#endif
