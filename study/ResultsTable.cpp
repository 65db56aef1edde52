#include "study/ResultsTable.h"

#include <algorithm>

namespace study {

namespace {

// Printed values take "%.10e" and errors "%.1e": columns that wide from the
// start keep the rows printed early aligned with the later ones.
const std::size_t kValueWidth = 16, kErrorWidth = 7;

std::string csvCell(const std::string& cell) {
  if (cell.find_first_of(",\"\n") == std::string::npos) {
    return cell;
  }
  std::string quoted = "\"";
  for (char c : cell) {
    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  }
  return quoted + "\"";
}

}  // namespace

ResultsTable::ResultsTable(const StudyPlan& plan) : Plan(plan), Outcomes(plan.experiments.size()) {}

void ResultsTable::record(std::size_t index, const Outcome& outcome) {
  Outcomes[index] = outcome;
  if (!ColumnsKnown && !outcome.measures.empty()) {
    for (const Measure& measure : outcome.measures) {
      Columns.push_back({measure.variable, measure.time});
    }
    ColumnsKnown = true;
  }
}

std::vector<std::string> ResultsTable::heading() const {
  std::vector<std::string> names{"experiment"};
  for (const GlobalVariable& global : Plan.globals) {
    names.push_back(global.name);
  }
  names.push_back("states");
  for (const MeasureColumn& column : Columns) {
    names.push_back(column.name());
    names.push_back(column.name() + " error");
  }
  return names;
}

std::optional<Measure> ResultsTable::measure(std::size_t index, const MeasureColumn& column) const {
  if (!Outcomes[index]) {
    return std::nullopt;
  }
  for (const Measure& measure : Outcomes[index]->measures) {
    if (measure.variable == column.variable && measure.time == column.time) {
      return measure;
    }
  }
  return std::nullopt;
}

std::vector<std::string> ResultsTable::cells(std::size_t index) const {
  const Experiment& experiment = Plan.experiments[index];
  std::vector<std::string> row{std::to_string(experiment.number)};
  row.insert(row.end(), experiment.values.begin(), experiment.values.end());
  row.push_back(Outcomes[index] ? Outcomes[index]->states : "");
  for (const MeasureColumn& column : Columns) {
    const std::optional<Measure> found = measure(index, column);
    row.push_back(found ? found->value : "");
    row.push_back(found ? found->error : "");
  }
  return row;
}

void ResultsTable::printLine(std::ostream& out, const std::vector<std::string>& cells) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); i++) {
    Widths[i] = std::max(Widths[i], cells[i].size());
    line += (i == 0 ? "" : "  ") + std::string(Widths[i] - cells[i].size(), ' ') + cells[i];
  }
  line.erase(line.find_last_not_of(' ') + 1);
  out << line << "\n";
}

void ResultsTable::printReady(std::ostream& out, bool finished) {
  if (!HeadingPrinted) {
    if (!ColumnsKnown && !finished) {
      return;
    }
    const std::vector<std::string> names = heading();
    for (std::size_t i = 0; i < names.size(); i++) {
      std::size_t least = names[i].size();
      if (i == 0) {
        least = std::max(least, std::to_string(Plan.experiments.size()).size());
      } else if (i <= Plan.globals.size()) {
        for (const Experiment& experiment : Plan.experiments) {
          least = std::max(least, experiment.values[i - 1].size());
        }
      } else if (i > Plan.globals.size() + 1) {
        least = std::max(least, (i - Plan.globals.size()) % 2 == 0 ? kValueWidth : kErrorWidth);
      }
      Widths.push_back(least);
    }
    printLine(out, names);
    HeadingPrinted = true;
  }
  for (; Printed < Outcomes.size() && (finished || Outcomes[Printed]); Printed++) {
    std::vector<std::string> row = cells(Printed);
    if (!Outcomes[Printed] || !Outcomes[Printed]->succeeded) {
      row[Plan.globals.size() + 1] = "failed";
    }
    printLine(out, row);
  }
  out.flush();
}

void ResultsTable::writeCsv(std::ostream& out) const {
  const std::vector<std::string> names = heading();
  for (std::size_t index = 0; index <= Outcomes.size(); index++) {
    const std::vector<std::string> line = index == 0 ? names : cells(index - 1);
    for (std::size_t i = 0; i < line.size(); i++) {
      out << (i == 0 ? "" : ",") << csvCell(line[i]);
    }
    out << "\n";
  }
}

}  // namespace study
