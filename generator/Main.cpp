#include <cstdlib>
#include <iostream>

#include "Cpp/BaseClasses/BaseStudyClass.h"
#include "generator/CommandLine.h"

namespace {

// Releases everything the run holds and returns status.
int endRun(int status, char* traceFileName) {
  DestructStudy();
  std::free(traceFileName);
  ReleaseSettings();
  return status;
}

}  // namespace

// One run of the generator: one experiment of the model's study.
int main(int argc, char** argv) {
  int fileType = 1;  // parsed for the calling environment; the output is always text
  char* traceFileName = nullptr;
  commandline(argc, argv, fileType, traceFileName);
  if (!SettingsValid()) {
    return endRun(1, traceFileName);
  }

  BaseStudyClass* study = GenerateStudy();
  // Checked before anything is set or written: the study does not range-check.
  if (!ExperimentNumberValid(study->GetNumExps())) {
    return endRun(1, traceFileName);
  }
  study->SetGVs(ExpNum);
  study->PrintGlobalValues(ExpNum);
  if (OverrideString != nullptr) {
    study->overrideGVs(OverrideString);
    std::cout << "Overriding global variables in ssg" << std::endl;
  }

  // The state-space generator joins here: the reward model from
  // study->GetPVModel(false), a StateSpaceGen on it (which takes over
  // traceFileName), its trace level, InitializeTrace() and GenStateSpace().

  return endRun(0, traceFileName);
}
