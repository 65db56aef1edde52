// Which charts a study's results give: the x axis is the first varying
// variable in the study's order, lines per value of the second or per time
// point, log scales where values span decades, and failed experiments left
// out.
#include <gtest/gtest.h>

#include <cmath>

#include "study/StudyCharts.h"

namespace {

using sanc::ValueType;

class StudyChartsTest : public testing::Test {
 protected:
  // Experiments over a (declared first) and b, the study listing b first
  // and varying it slowest; value = b * 10^a at each time point.
  void lay(const std::vector<int>& as, const std::vector<int>& bs,
           const std::vector<std::string>& times) {
    Plan.globals = {{"a", ValueType::Int}, {"b", ValueType::Int}, {"c", ValueType::Int}};
    Plan.listed = {1, 0};
    for (int b : bs) {
      for (int a : as) {
        Plan.experiments.push_back({static_cast<int>(Plan.experiments.size()) + 1,
                                    {std::to_string(a), std::to_string(b), "7"}, {}});
        study::Outcome outcome;
        outcome.succeeded = true;
        for (const std::string& time : times) {
          outcome.measures.push_back({"v", time, std::to_string(b * std::pow(10.0, a)), "0"});
        }
        Outcomes.push_back(outcome);
      }
    }
  }
  std::vector<study::StudyChart> draw() {
    study::ResultsTable table(Plan);
    for (std::size_t i = 0; i < Outcomes.size(); i++) {
      table.record(i, Outcomes[i]);
    }
    return study::drawCharts(Plan, table, {{"v", "the value"}});
  }

  study::StudyPlan Plan;
  std::vector<study::Outcome> Outcomes;
};

TEST_F(StudyChartsTest, TwoVaryingVariablesDrawOverTheFirstListedWithALinePerTheOther) {
  lay({0, 1, 2}, {1, 2}, {"5"});
  Outcomes[4].succeeded = false;
  const std::vector<study::StudyChart> charts = draw();
  ASSERT_EQ(1u, charts.size());
  const chart::LineChart& drawn = charts[0].chart;
  EXPECT_EQ("v.svg", charts[0].file);
  EXPECT_EQ("the value at t = 5 over b, one line per a", drawn.title);
  EXPECT_EQ("b", drawn.xLabel);
  EXPECT_EQ("v at t = 5 (log scale)", drawn.yLabel);
  EXPECT_EQ("a", drawn.legendTitle);
  ASSERT_EQ(3u, drawn.series.size());
  EXPECT_EQ("0", drawn.series[0].label);
  EXPECT_EQ(1u, drawn.series[1].points.size());  // a = 1, b = 2 failed
  EXPECT_TRUE(drawn.logY);
  EXPECT_FALSE(drawn.logX);
}

TEST_F(StudyChartsTest, SeveralTimePointsGiveALineEachOrAChartEach) {
  lay({0}, {1, 2, 4, 8}, {"1", "inf"});
  std::vector<study::StudyChart> charts = draw();
  ASSERT_EQ(1u, charts.size());
  EXPECT_EQ("time", charts[0].chart.legendTitle);
  ASSERT_EQ(2u, charts[0].chart.series.size());
  EXPECT_EQ("in the long run", charts[0].chart.series[1].label);
  EXPECT_TRUE(charts[0].chart.logX);  // b doubles
  EXPECT_EQ("b (log scale)", charts[0].chart.xLabel);

  Plan = {};
  Outcomes.clear();
  lay({0, 1}, {1, 2}, {"1", "2"});
  charts = draw();
  ASSERT_EQ(2u, charts.size());
  EXPECT_EQ("v@2.svg", charts[1].file);
  EXPECT_EQ("v at t = 2", charts[1].chart.yLabel);
}

TEST_F(StudyChartsTest, WithoutAVaryingVariableTheValueIsDrawnOverTime) {
  lay({1}, {3}, {"1", "2", "inf"});
  const std::vector<study::StudyChart> charts = draw();
  ASSERT_EQ(1u, charts.size());
  EXPECT_EQ("the value over time", charts[0].chart.title);
  ASSERT_EQ(1u, charts[0].chart.series.size());
  EXPECT_EQ(2u, charts[0].chart.series[0].points.size());
}

}  // namespace
