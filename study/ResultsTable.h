#ifndef STUDY_RESULTSTABLE_H_
#define STUDY_RESULTSTABLE_H_

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "study/ExperimentRunner.h"
#include "study/StudyPlan.h"

namespace study {

// A column of values: a reward variable at a time point.
struct MeasureColumn {
  std::string variable;
  std::string time;

  // variable@time, as the table and the CSV head the column.
  std::string name() const { return variable + "@" + time; }
};

// The results of a study: one row per experiment (its number, every global
// variable in force, its states and, per reward variable and time point,
// the value and its error), filled as experiments end, printed in order.
class ResultsTable {
 public:
  explicit ResultsTable(const StudyPlan& plan);

  // Records the outcome of the experiment at index in the plan. The value
  // columns are those of the first outcome with values.
  void record(std::size_t index, const Outcome& outcome);
  // Prints, aligned, the rows not printed yet that follow in order on those
  // printed (the heading first, once the columns are known); with finished,
  // every row left.
  void printReady(std::ostream& out, bool finished);
  // The table as CSV: a heading line, then one line per experiment (a failed
  // one without states, and without values unless solve gave them).
  void writeCsv(std::ostream& out) const;

  const std::vector<MeasureColumn>& columns() const { return Columns; }
  // The heading and the cells of each row, as printed.
  std::vector<std::string> heading() const;
  std::vector<std::string> cells(std::size_t index) const;
  // The outcome of each experiment; empty until recorded.
  const std::vector<std::optional<Outcome>>& outcomes() const { return Outcomes; }
  // The value and error of experiment index in column; nullopt when it has none.
  std::optional<Measure> measure(std::size_t index, const MeasureColumn& column) const;

 private:
  void printLine(std::ostream& out, const std::vector<std::string>& cells);

  const StudyPlan& Plan;
  std::vector<std::optional<Outcome>> Outcomes;
  std::vector<MeasureColumn> Columns;
  bool ColumnsKnown = false;
  bool HeadingPrinted = false;
  std::size_t Printed = 0;
  std::vector<std::size_t> Widths;  // grow as wider cells come
};

}  // namespace study

#endif
