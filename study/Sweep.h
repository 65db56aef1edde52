#ifndef STUDY_SWEEP_H_
#define STUDY_SWEEP_H_

#include <optional>
#include <string>
#include <vector>

namespace study {

// One --set or --vary of the command line: a global variable and the
// values it takes, as written (a range already counted out).
struct SweepAssignment {
  std::string option;  // as given, "--vary lambda=0.1:0.1:1.0", for messages
  std::string name;
  std::vector<std::string> values;
  bool varies = false;
};

// The whole of text as a finite number (as std::from_chars reads it);
// nullopt when it is not one.
std::optional<double> numberOf(const std::string& text);

// The largest number of values of one --vary, and of experiments of a sweep.
constexpr std::size_t kMaxSweepValues = 10000;

// Reads the value of --set (name=value) or --vary (name=first:step:last, or
// name=v1,v2,...). A range counts from first by step while it does not pass
// last (step may be negative, never zero); its values are written with up to
// 15 significant digits, so that 0.1:0.1:0.3 gives 0.1, 0.2 and 0.3. Returns
// nullopt with a one-line reason in problem when the text is malformed.
std::optional<SweepAssignment> parseSweepAssignment(const std::string& option,
                                                    const std::string& text, bool varies,
                                                    std::string& problem);

}  // namespace study

#endif
