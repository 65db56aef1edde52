// Sweeps from the command line: ranges counted without drift, and every
// name or value the model would not take refused before anything runs.
#include <gtest/gtest.h>

#include "compiler/FrontEnd.h"
#include "study/StudyPlan.h"
#include "study/Sweep.h"

namespace {

using study::SweepAssignment;

SweepAssignment assignment(const std::string& text, bool varies) {
  std::string problem;
  const std::optional<SweepAssignment> read =
      study::parseSweepAssignment("--x " + text, text, varies, problem);
  EXPECT_TRUE(read) << problem;
  return read.value_or(SweepAssignment{});
}

std::string refusal(const std::string& text, bool varies) {
  std::string problem;
  EXPECT_FALSE(study::parseSweepAssignment("--x", text, varies, problem)) << text;
  return problem;
}

TEST(SweepTest, RangesAndListsGiveTheirValues) {
  EXPECT_EQ((std::vector<std::string>{"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8",
                                      "0.9", "1"}),
            assignment("lambda=0.1:0.1:1.0", true).values);
  EXPECT_EQ((std::vector<std::string>{"10", "7", "4"}), assignment("c=10:-3:2", true).values);
  EXPECT_EQ((std::vector<std::string>{"1", "2", "4"}), assignment("c=1,2,4", true).values);
  EXPECT_EQ((std::vector<std::string>{"1:2"}), assignment("c=1:2", false).values);
  EXPECT_EQ("c", assignment("c=3", false).name);
  for (const char* malformed : {"c", "=3", "c=", "c=1:0:5", "c=5:1:1", "c=1:x:5", "c=1:2",
                                "c=1,,2", "c=0:1e-9:1"}) {
    EXPECT_FALSE(refusal(malformed, true).empty()) << malformed;
  }
}

class StudyPlanTest : public testing::Test {
 protected:
  StudyPlanTest() {
    sanc::Diagnostics diagnostics("plan.san");
    Model = sanc::compileModel(
        "global short capacity = 5\nglobal double speed = 0.5\nglobal double pace = 2 * speed\n"
        "global bool fast = false\n"
        "atomic q {\n  place n\n  activity a rate speed  when n < capacity  out n\n}\n"
        "rewards {\n  busy at 1 = q.n\n}\n"
        "study range {\n  speed = 0.5, 1.5\n  capacity = 1 .. 3\n}\n",
        diagnostics);
    EXPECT_TRUE(Model) << (diagnostics.hasErrors() ? diagnostics.format(diagnostics.errors()[0])
                                                   : "");
  }

  std::optional<study::StudyPlan> plan(const std::vector<SweepAssignment>& assignments,
                                       std::string& problem) {
    return study::planDescribedStudy(*Model, assignments, problem);
  }

  std::optional<sanc::Model> Model;
};

TEST_F(StudyPlanTest, TheStudyRunsByExperimentNumberWithTheSetValuesOnTop) {
  std::string problem;
  const std::optional<study::StudyPlan> described = plan({}, problem);
  ASSERT_TRUE(described) << problem;
  ASSERT_EQ(6u, described->experiments.size());
  EXPECT_EQ((std::vector<std::size_t>{1, 0}), described->listed);
  EXPECT_EQ((std::vector<std::string>{"2", "0.5", "0"}), described->experiments[1].values);
  EXPECT_EQ((std::vector<std::string>{"-B1"}), described->experiments[1].arguments);

  // Fixing a variable of the study leaves the experiments that differ.
  const std::optional<study::StudyPlan> set =
      plan({assignment("capacity=7", false), assignment("fast=true", false)}, problem);
  ASSERT_TRUE(set) << problem;
  ASSERT_EQ(2u, set->experiments.size());
  EXPECT_EQ((std::vector<std::string>{"7", "1.5", "1"}), set->experiments[1].values);
  EXPECT_EQ((std::vector<std::string>{"-B3", "-Os:capacity:7:b:fast:1"}),
            set->experiments[1].arguments);
}

TEST_F(StudyPlanTest, ASweepReplacesTheStudyAndSetsEveryVariable) {
  std::string problem;
  const std::optional<study::StudyPlan> swept =
      plan({assignment("speed=0.1:0.1:0.3", true), assignment("capacity=2", false),
            assignment("fast=0,1", true)},
           problem);
  ASSERT_TRUE(swept) << problem;
  ASSERT_EQ(6u, swept->experiments.size());
  EXPECT_EQ((std::vector<std::size_t>{1, 2}), swept->listed);
  EXPECT_EQ((std::vector<std::string>{"2", "0.2", "1"}), swept->experiments[3].values);
  EXPECT_EQ((std::vector<std::string>{"-B0", "-Os:capacity:2:d:speed:0.2:b:fast:1"}),
            swept->experiments[3].arguments);
}

TEST_F(StudyPlanTest, UnknownNamesAndValuesOfTheWrongTypeAreRefused) {
  const std::pair<std::vector<SweepAssignment>, std::string> refused[] = {
      {{assignment("lambda=1", false)},
       "--x lambda=1: the model has no global variable 'lambda' (it has capacity, speed, fast)"},
      // A derived variable follows the others, and is no column of the table.
      {{assignment("pace=1", false)},
       "--x pace=1: pace is computed from other global variables; set or vary those"},
      {{assignment("capacity=2.5", true)},
       "--x capacity=2.5: 2.5 is not a whole number (capacity is a short)"},
      {{assignment("capacity=40000", false)},
       "--x capacity=40000: 40000 does not fit type short (capacity is a short)"},
      {{assignment("fast=yes", false)},
       "--x fast=yes: yes is not a truth value (true, false, 1 or 0) (fast is a bool)"},
      {{assignment("speed=1e999", false)},
       "--x speed=1e999: 1e999 is not a number (speed is a double)"},
      {{assignment("speed=1", false), assignment("speed=1,2", true)},
       "--x speed=1,2: speed is set or varied twice"},
  };
  for (const auto& [assignments, message] : refused) {
    std::string problem;
    EXPECT_FALSE(plan(assignments, problem));
    EXPECT_EQ(message, problem);
  }
}

}  // namespace
