#include <cstdlib>
#include <iostream>
#include <new>

#include "Cpp/BaseClasses/BaseStudyClass.h"
#include "Cpp/BaseClasses/StandardErrors.h"
#include "generator/CommandLine.h"
#include "generator/StateSpaceGen.h"
#ifdef SANGEN_DISTRIBUTED
#include <string>

#include "generator/distributed/Communicator.h"
#include "generator/distributed/DistributedGen.h"
#endif

namespace {

#ifdef SANGEN_DISTRIBUTED
// The processes of the run, from the start of main to its end.
Communicator* Processes = nullptr;
#endif

// Releases the study (and with it the model) and the settings.
int endRun(int status) {
  DestructStudy();
  ReleaseSettings();
  return status;
}

// Builds the model of the chosen experiment and generates its state space.
// The generator takes over traceFileName.
void generate(BaseStudyClass* study, int fileType, char* traceFileName) {
  PVModel* model = study->GetPVModel(false);
#ifdef SANGEN_DISTRIBUTED
  // Each process writes part files under a name of its own; rank 0 alone
  // traces to the trace file.
  const std::string part = DistributedGen::PartName(ExpName, Processes->rank());
  if (Processes->rank() != 0) {
    std::free(traceFileName);
    traceFileName = nullptr;
  }
  StateSpaceGen generator(model, exp_path, part.c_str(), flagAbsorb, hash_value, db_host, db_entity,
                          traceFileName);
#else
  StateSpaceGen generator(model, exp_path, ExpName, flagAbsorb, hash_value, db_host, db_entity,
                          traceFileName);
#endif
  generator.SetTraceLevel(TempTraceLevel);
  generator.setWriteMarkings(writeMarkings);
  generator.setWriteFirings(writeFirings);
  generator.setFileType(fileType);
  generator.setCompression(compressionLevel);
  generator.InitializeTrace();
#ifdef SANGEN_DISTRIBUTED
  DistributedGen(generator, *Processes, exp_path, ExpName).Run();
#else
  generator.GenStateSpace();
#endif
}

// One run of the generator: one experiment of the model's study.
int run(int argc, char** argv) {
  int fileType = 1;  // text; 2, 4 and 6 ask for the binary forms
  char* traceFileName = nullptr;
  commandline(argc, argv, fileType, traceFileName);
  if (!SettingsValid()) {
    std::free(traceFileName);
    return endRun(1);
  }

  BaseStudyClass* study = GenerateStudy();
  // Checked before anything is set or written: the study does not range-check.
  if (!ExperimentNumberValid(study->GetNumExps())) {
    std::free(traceFileName);
    return endRun(1);
  }
  study->SetGVs(ExpNum);
  study->PrintGlobalValues(ExpNum);
  if (OverrideString != nullptr) {
    // An override that cannot be applied ends the run before any file is
    // written: its results would belong to other values.
    if (!study->overrideGVs(OverrideString)) {
      std::free(traceFileName);
      return endRun(1);
    }
    std::cout << "Overriding global variables in ssg" << std::endl;
    study->printValuesInForce();
  }
  generate(study, fileType, traceFileName);
  return endRun(0);
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SANGEN_DISTRIBUTED
  Communicator processes(&argc, &argv);
  Processes = &processes;
#endif
  try {
    return run(argc, argv);
  } catch (const std::bad_alloc&) {
    // The framework's own allocations report themselves; this catches those
    // of the standard containers.
    MemoryAllocationError();
  }
}
