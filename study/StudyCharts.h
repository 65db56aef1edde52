#ifndef STUDY_STUDYCHARTS_H_
#define STUDY_STUDYCHARTS_H_

#include <map>
#include <string>
#include <vector>

#include "chart/LineChart.h"
#include "study/ResultsTable.h"
#include "study/StudyPlan.h"

namespace study {

struct StudyChart {
  std::string file;  // reliability.svg, or reliability@365.svg among several time points
  chart::LineChart chart;
};

// The charts of a study's results, one per reward variable (per variable
// and time point where two or more globals vary and it has several). The x
// axis is the first global that varies, in the order the study lists them,
// with one line per value of the others; where one global varies, one line
// per time point; where none does, the value over time. Only experiments
// that succeeded are drawn. Scales are logarithmic where positive values
// span two decades, and x also where they grow by a constant factor of 2 or
// more. described gives a variable's meaning, for the chart's title.
std::vector<StudyChart> drawCharts(const StudyPlan& plan, const ResultsTable& table,
                                   const std::map<std::string, std::string>& described);

}  // namespace study

#endif
