#ifndef STUDY_REPORT_H_
#define STUDY_REPORT_H_

#include <ostream>
#include <string>
#include <vector>

#include "study/ResultsTable.h"
#include "study/StudyCharts.h"

namespace study {

// What the report says besides the results.
struct ReportHeading {
  std::string title;    // "Study of tandem"
  std::string command;  // the command line that ran it
};

// Writes the report: one HTML page with the table and the charts (inline
// SVG), and the failed experiments with their messages, that any browser
// opens from the file alone.
void writeReport(std::ostream& out, const ReportHeading& heading, const ResultsTable& table,
                 const std::vector<StudyChart>& charts);

}  // namespace study

#endif
