#ifndef TESTS_GENERATOR_REQUESTEDFILES_H_
#define TESTS_GENERATOR_REQUESTEDFILES_H_

// Runs of the generator that also write the files asked for beside the
// usual ones: each state's marking (".states") and each deterministic
// firing's activity and delay (".firings").

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include "Cpp/BaseClasses/PVModel.h"
#include "generator/StateSpaceGen.h"

namespace ssg_test {

// Runs the generator over model as the entry point does with -M and -D,
// writing prefix + "m.arm" and the other files; standard output is kept
// quiet and its number format restored.
inline void generateAsking(PVModel* model, const std::string& prefix) {
  const std::ios::fmtflags flags = std::cout.flags();
  testing::internal::CaptureStdout();
  {
    StateSpaceGen generator(model, prefix.c_str(), "m", 0, 0.5, nullptr, nullptr, nullptr);
    generator.SetTraceLevel(0);
    generator.setWriteMarkings(true);
    generator.setWriteFirings(true);
    generator.InitializeTrace();
    generator.GenStateSpace();
  }
  testing::internal::GetCapturedStdout();
  std::cout.flags(flags);
}

}  // namespace ssg_test

#endif
