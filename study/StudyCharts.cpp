#include "study/StudyCharts.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

#include "study/Sweep.h"

namespace study {

namespace {

// The globals that take more than one value, the study's order first.
std::vector<std::size_t> varyingGlobals(const StudyPlan& plan) {
  std::vector<std::size_t> order = plan.listed;
  for (std::size_t g = 0; g < plan.globals.size(); g++) {
    if (std::find(order.begin(), order.end(), g) == order.end()) {
      order.push_back(g);
    }
  }
  std::vector<std::size_t> varying;
  for (std::size_t g : order) {
    std::set<std::string> values;
    for (const Experiment& experiment : plan.experiments) {
      values.insert(experiment.values[g]);
    }
    if (values.size() > 1) {
      varying.push_back(g);
    }
  }
  return varying;
}

bool allNumbers(const StudyPlan& plan, std::size_t global) {
  return std::all_of(plan.experiments.begin(), plan.experiments.end(),
                     [global](const Experiment& e) { return numberOf(e.values[global]); });
}

// Positive values that grow by one factor of at least 2 each step.
bool geometric(std::vector<double> xs) {
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  if (xs.size() < 3 || xs.front() <= 0) {
    return false;
  }
  const double ratio = xs[1] / xs[0];
  for (std::size_t i = 2; i < xs.size(); i++) {
    if (std::fabs(xs[i] / xs[i - 1] / ratio - 1) > 1e-6) {
      return false;
    }
  }
  return ratio >= 2;
}

// Log scales where the data asks for them.
void chooseScales(chart::LineChart& chart) {
  std::vector<double> xs;
  double yLow = INFINITY, yHigh = -INFINITY;
  for (const chart::LineChart::Series& s : chart.series) {
    for (const chart::LineChart::Point& p : s.points) {
      xs.push_back(p.x);
      yLow = std::min(yLow, p.y);
      yHigh = std::max(yHigh, p.y);
    }
  }
  const auto [xLow, xHigh] = std::minmax_element(xs.begin(), xs.end());
  chart.logX = chart::spansDecades(*xLow, *xHigh) || geometric(xs);
  chart.logY = chart::spansDecades(yLow, yHigh);
  if (chart.logX) {
    chart.xLabel += " (log scale)";
  }
  if (chart.logY) {
    chart.yLabel += " (log scale)";
  }
}

std::string atTime(const std::string& time) {
  return time == "inf" ? " in the long run" : " at t = " + time;
}

// What the chart draws, for its title: the description of the variable if
// there is one.
std::string subject(const std::string& variable,
                    const std::map<std::string, std::string>& described) {
  const auto found = described.find(variable);
  return found == described.end() ? variable : found->second;
}

// The label of an experiment's line: the values of the globals other than x.
std::string lineLabel(const StudyPlan& plan, const Experiment& experiment,
                      const std::vector<std::size_t>& others) {
  std::string label;
  for (std::size_t g : others) {
    label += (label.empty() ? "" : ", ") +
             (others.size() > 1 ? plan.globals[g].name + " = " : "") + experiment.values[g];
  }
  return label;
}

// Adds experiment index's value of column as a point at x.
void addPoint(chart::LineChart& chart, const ResultsTable& table, std::size_t index,
              const MeasureColumn& column, const std::string& label, double x) {
  if (!table.outcomes()[index] || !table.outcomes()[index]->succeeded) {
    return;
  }
  const std::optional<Measure> measure = table.measure(index, column);
  if (!measure) {
    return;
  }
  const std::optional<double> y = numberOf(measure->value);
  const std::optional<double> error = numberOf(measure->error);
  if (y) {
    chart.add(label, x, *y, error.value_or(0));
  }
}

// One variable over time: one line per experiment.
std::optional<StudyChart> overTime(const StudyPlan& plan, const ResultsTable& table,
                                   const std::string& variable,
                                   const std::vector<MeasureColumn>& columns,
                                   const std::map<std::string, std::string>& described) {
  StudyChart drawn{variable + ".svg", {}};
  for (std::size_t e = 0; e < plan.experiments.size(); e++) {
    for (const MeasureColumn& column : columns) {
      if (const std::optional<double> time = numberOf(column.time)) {
        addPoint(drawn.chart, table, e, column,
                 plan.experiments.size() > 1
                     ? "experiment " + std::to_string(plan.experiments[e].number)
                     : variable,
                 *time);
      }
    }
  }
  if (drawn.chart.series.empty()) {
    return std::nullopt;
  }
  drawn.chart.title = subject(variable, described) + " over time";
  drawn.chart.xLabel = "time";
  drawn.chart.yLabel = variable;
  return drawn;
}

// One variable over global x: one line per value of the other varying
// globals, or per time point.
std::optional<StudyChart> overGlobal(const StudyPlan& plan, const ResultsTable& table,
                                     const std::vector<std::size_t>& varying,
                                     const std::vector<MeasureColumn>& columns,
                                     const std::string& file,
                                     const std::map<std::string, std::string>& described) {
  const std::size_t x = varying.front();
  const std::vector<std::size_t> others(varying.begin() + 1, varying.end());
  const std::string& variable = columns.front().variable;
  StudyChart drawn{file, {}};
  for (std::size_t e = 0; e < plan.experiments.size(); e++) {
    const double at = *numberOf(plan.experiments[e].values[x]);
    for (const MeasureColumn& column : columns) {
      const std::string label = columns.size() > 1 ? atTime(column.time).substr(1)
                                                   : lineLabel(plan, plan.experiments[e], others);
      addPoint(drawn.chart, table, e, column, label.empty() ? variable : label, at);
    }
  }
  if (drawn.chart.series.empty()) {
    return std::nullopt;
  }
  const std::string& xName = plan.globals[x].name;
  const std::string when = columns.size() > 1 ? "" : atTime(columns.front().time);
  drawn.chart.title = subject(variable, described) + when + " over " + xName;
  drawn.chart.xLabel = xName;
  drawn.chart.yLabel = variable + when;
  if (columns.size() > 1) {
    drawn.chart.legendTitle = "time";
  } else if (others.size() == 1) {
    drawn.chart.title += ", one line per " + plan.globals[others.front()].name;
    drawn.chart.legendTitle = plan.globals[others.front()].name;
  } else if (others.size() > 1) {
    drawn.chart.title += ", one line per combination of the others";
  }
  return drawn;
}

}  // namespace

std::vector<StudyChart> drawCharts(const StudyPlan& plan, const ResultsTable& table,
                                   const std::map<std::string, std::string>& described) {
  std::vector<std::string> variables;
  std::map<std::string, std::vector<MeasureColumn>> columnsOf;
  for (const MeasureColumn& column : table.columns()) {
    if (columnsOf[column.variable].empty()) {
      variables.push_back(column.variable);
    }
    columnsOf[column.variable].push_back(column);
  }
  std::vector<std::size_t> varying = varyingGlobals(plan);
  varying.erase(std::remove_if(varying.begin(), varying.end(),
                               [&plan](std::size_t g) { return !allNumbers(plan, g); }),
                varying.end());
  std::vector<StudyChart> charts;
  for (const std::string& variable : variables) {
    const std::vector<MeasureColumn>& columns = columnsOf[variable];
    std::vector<std::optional<StudyChart>> drawn;
    if (varying.empty()) {
      drawn.push_back(overTime(plan, table, variable, columns, described));
    } else if (varying.size() == 1 || columns.size() == 1) {
      drawn.push_back(overGlobal(plan, table, varying, columns, variable + ".svg", described));
    } else {
      for (const MeasureColumn& column : columns) {
        drawn.push_back(
            overGlobal(plan, table, varying, {column}, column.name() + ".svg", described));
      }
    }
    for (std::optional<StudyChart>& chart : drawn) {
      if (chart) {
        chooseScales(chart->chart);
        charts.push_back(std::move(*chart));
      }
    }
  }
  return charts;
}

}  // namespace study
