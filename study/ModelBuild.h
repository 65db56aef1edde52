#ifndef STUDY_MODELBUILD_H_
#define STUDY_MODELBUILD_H_

#include <string>

namespace study {

// A program of this build and the CMake target that builds it.
struct BuildProgram {
  std::string executable;
  std::string target;
  // A description outside the project: the build must first be configured
  // with it (SANGEN_MODEL), as `make model` does; "" otherwise.
  std::string configureWith;
};

// The executable of a model description: this build's model is gen, an
// example is build/examples/<name>, any other build/models/<name>.
BuildProgram programForDescription(const std::string& description);
// netgen, which reads a net at run time.
BuildProgram programForNet();
// solve.
BuildProgram programForSolver();

// Builds the programs in this build's folder (configuring it first where
// one needs it), jobs compilations at a time, with CMake's whole output
// appended to logPath and its progress lines and errors echoed on standard
// error. Returns "" on success, otherwise what failed.
std::string buildPrograms(const BuildProgram& model, unsigned jobs, const std::string& logPath);

}  // namespace study

#endif
