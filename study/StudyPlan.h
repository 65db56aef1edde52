#ifndef STUDY_STUDYPLAN_H_
#define STUDY_STUDYPLAN_H_

#include <optional>
#include <string>
#include <vector>

#include "compiler/Model.h"
#include "study/GlobalValue.h"
#include "study/Sweep.h"

namespace study {

// One experiment to run: the values in force and the model executable's
// arguments that choose them.
struct Experiment {
  int number = 1;                      // from 1: its files are exp<number>.*
  std::vector<std::string> values;     // as shown, one per global variable
  std::vector<std::string> arguments;  // -B<n>, and -O<triples> where values are set
};

struct StudyPlan {
  std::vector<GlobalVariable> globals;  // in declaration order, as the table lists them
  // The globals in the order the study (or the sweep) lists them, the one
  // that varies slowest first: the charts draw over the first that varies.
  std::vector<std::size_t> listed;
  std::vector<Experiment> experiments;
};

// The experiments of a checked description's study with the assignments of
// the command line. Without --vary: the description's study, every --set
// variable fixed (experiments that then coincide run once), each experiment
// chosen by -B and the --set values by -O. With --vary: every combination of
// the --vary values (the first varying slowest) replaces the study; every
// global is passed by -O, at its --vary or --set value or else its default.
// Returns nullopt with a one-line message naming the option when a name is
// unknown, given twice, or a value is not one of the variable's type.
std::optional<StudyPlan> planDescribedStudy(const sanc::Model& model,
                                            const std::vector<SweepAssignment>& assignments,
                                            std::string& problem);

// A net's study: one experiment and no global variable.
StudyPlan planNetStudy();

}  // namespace study

#endif
