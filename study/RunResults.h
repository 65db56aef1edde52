#ifndef STUDY_RUNRESULTS_H_
#define STUDY_RUNRESULTS_H_

#include <optional>
#include <string>
#include <vector>

namespace study {

// One value of a solved run: a reward variable at a time point, with its
// error, the texts as the solver wrote them.
struct Measure {
  std::string variable;
  std::string time;  // "365", or "inf" for the long run
  std::string value;
  std::string error;
};

// The values of solve's table on its standard output (the lines after the
// heading "variable time value error"); nullopt when there is no table.
std::optional<std::vector<Measure>> readSolveTable(const std::string& output);

// The number of states of a generator run, from its console ("Generated: N
// states"); nullopt when the run printed none.
std::optional<std::string> readStateCount(const std::string& console);

// The last line of text that is not blank, "" when there is none: what a
// program that stopped said last.
std::string lastLine(const std::string& text);

// The bytes of the file at path; "" when it cannot be read.
std::string readWholeFile(const std::string& path);

}  // namespace study

#endif
