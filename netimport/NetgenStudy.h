#ifndef NETIMPORT_NETGENSTUDY_H_
#define NETIMPORT_NETGENSTUDY_H_

#include "Cpp/BaseClasses/BaseStudyClass.h"
#include "netimport/NetFiles.h"

// The study of a netgen run: one experiment, no global variables, and the
// reward model of the net that -m names (timed by -r, rewarded by -w).
// netgen is the generator's own entry point linked with this study;
// GenerateStudy reads the files and ends the run with the first problem's
// diagnostic and exit status 1.
class NetgenStudy : public BaseStudyClass {
 public:
  explicit NetgenStudy(LoadedNet loaded);
  ~NetgenStudy() override;

  // Deletes the previous reward model, if any, and builds a fresh one.
  PVModel* GetPVModel(bool expandTimeArrays) override;
  void SetGVs(int expNum) override;
  // "There are no global variables."
  void PrintGlobalValues(int expNum) override;
  // There are none: each reports the name on standard error.
  void* GetGVValue(const char* name) override;
  void OverrideGVValue(const char* name, const void* value) override;

 private:
  LoadedNet Loaded;
};

#endif
