#ifndef STUDY_STUDYOPTIONS_H_
#define STUDY_STUDYOPTIONS_H_

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "study/Sweep.h"

namespace study {

extern const char kUsage[];

// The runner's command line.
struct StudyOptions {
  bool help = false;
  std::string model;  // a description (.san) or a net (.pnml)
  bool isNet = false;
  std::string timing, rewards;  // a net's files (-r, -w)
  std::string folder;           // -o; default out/<model name>
  unsigned jobs = 1;            // -j; default one per core
  std::vector<SweepAssignment> assignments;
  std::vector<std::string> solverArguments;  // from -e, -t and -s
  std::map<std::string, std::string> labels;  // --label variable=meaning
  std::string executable;                     // --executable: run it, build nothing
};

// Reads the command line; nullopt with a one-line message naming the option
// and its value when it is wrong.
std::optional<StudyOptions> parseStudyOptions(int argc, char** argv, std::string& problem);

}  // namespace study

#endif
