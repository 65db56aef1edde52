// Runs of the job-shop executable: state counts, the exact records of the
// smallest size, and every record of the small sizes against the routing
// rules recomputed here from the queue vectors.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "tests/TestFiles.h"

namespace {

using Queues = std::array<int, 4>;
using Rates = std::map<Queues, double>;

using test_files::linesOf;

const double kServiceRates[4] = {0.3, 0.35, 0.4, 0.45};
const int kVariables = 5;  // queue_length1..4, rejections

struct ModelRun {
  int status;
  std::string out;
  std::string arm;
  std::string var;
  std::string pvtype;
};

// Runs the model for one experiment (plus extra options) in a fresh
// directory and collects its console text and files.
ModelRun runModel(int experiment, const std::string& extra = "") {
  test_files::ScratchDir dir("jobshop");
  test_files::ProgramRun program = dir.run(std::string(MODEL_EXECUTABLE) + " -P./ -Nt -B" +
                                           std::to_string(experiment) + " " + extra);
  EXPECT_EQ("", program.err);
  return {program.status, program.out, dir.read("t.arm"), dir.read("t.var"), dir.read("t.pvtype")};
}

// The records of an .arm file: each state's lines from its number to the
// closing 0, and its targets with their rates.
struct StateSpace {
  std::map<int, std::vector<std::string>> text;
  std::map<int, std::map<int, double>> rates;
  int count = 0;
};

StateSpace parseArm(const std::string& arm) {
  StateSpace space;
  std::vector<std::string> all = linesOf(arm);
  if (all.size() < 3) {
    ADD_FAILURE() << "short .arm file";
    return space;
  }
  space.count = std::stoi(all[1]);
  for (size_t i = 3; i < all.size();) {
    int state = std::stoi(all[i]);
    std::vector<std::string>& text = space.text[state];
    text.push_back(all[i++]);
    while (i < all.size() && all[i] != "0") {
      text.push_back(all[i]);
      text.push_back(all[i + 1]);
      space.rates[state][std::stoi(all[i])] = std::stod(all[i + 1]);
      i += 2;
    }
    text.push_back("0");
    i++;
  }
  return space;
}

// The queue vector of every state, read from the queue-length variables of
// the .var file; also checks that no rejection impulse or rate is recorded
// (a reject leads back to the state it left, so it never discovers one).
std::map<int, Queues> parseVar(const std::string& var) {
  std::map<int, Queues> queues;
  std::vector<std::string> all = linesOf(var);
  const size_t record = 1 + 2 * kVariables;
  for (size_t i = kVariables; i + record <= all.size(); i += record) {
    Queues q;
    for (int k = 0; k < 4; k++) {
      EXPECT_EQ("0", all[i + 1 + 2 * k]);
      q[k] = std::stoi(all[i + 2 + 2 * k]);
    }
    EXPECT_EQ("0", all[i + 9]);
    EXPECT_EQ("0", all[i + 10]);
    queues[std::stoi(all[i])] = q;
  }
  return queues;
}

// Where an arriving part goes from queues q, with probability p: to an idle
// machine if there is one (all alike), else by free room; rejected (the
// queues stay) when all are full.
void route(const Queues& q, int capacity, double p, Rates& out) {
  bool idle = false;
  double total = 0;
  for (int k = 0; k < 4; k++) {
    idle = idle || q[k] == 0;
  }
  for (int k = 0; k < 4; k++) {
    if (q[k] < capacity && (!idle || q[k] == 0)) {
      total += capacity - q[k];
    }
  }
  if (total == 0) {
    out[q] += p;
    return;
  }
  for (int k = 0; k < 4; k++) {
    if (q[k] < capacity && (!idle || q[k] == 0)) {
      Queues next = q;
      next[k]++;
      out[next] += p * (capacity - q[k]) / total;
    }
  }
}

// The rates out of the stable state q.
Rates expectedRates(const Queues& q, int capacity) {
  Rates out;
  route(q, capacity, 1.0, out);
  for (int k = 0; k < 4; k++) {
    if (q[k] > 0) {
      Queues served = q;
      served[k]--;
      out[served] += 0.9 * kServiceRates[k];
      route(served, capacity, 0.1 * kServiceRates[k], out);
    }
  }
  return out;
}

// Checks that the states are exactly the queue vectors (no vanishing state
// numbered, none missing) and that every record holds the expected rates.
void checkAgainstRules(int capacity, int experiment) {
  ModelRun run = runModel(experiment);
  ASSERT_EQ(0, run.status);
  StateSpace space = parseArm(run.arm);
  std::map<int, Queues> queues = parseVar(run.var);
  int vectors = std::pow(capacity + 1, 4);
  ASSERT_EQ(vectors, space.count);
  ASSERT_EQ(vectors, static_cast<int>(queues.size()));
  std::map<Queues, int> numbers;
  for (const auto& [state, q] : queues) {
    for (int k = 0; k < 4; k++) {
      EXPECT_TRUE(q[k] >= 0 && q[k] <= capacity);
    }
    EXPECT_TRUE(numbers.emplace(q, state).second) << "two states with one queue vector";
  }
  for (const auto& [state, q] : queues) {
    Rates expected = expectedRates(q, capacity);
    const std::map<int, double>& actual = space.rates[state];
    ASSERT_EQ(expected.size(), actual.size()) << "state " << state;
    for (const auto& [target, rate] : actual) {
      const Queues& to = queues[target];
      ASSERT_EQ(1u, expected.count(to)) << "state " << state << " to " << target;
      EXPECT_NEAR(expected[to], rate, 1e-9 * rate) << "state " << state << " to " << target;
    }
  }
}

std::string joined(const std::vector<std::string>& text) {
  std::string result;
  for (const std::string& line : text) {
    result += line + "\n";
  }
  return result;
}

TEST(JobShopRunTest, CapacityOneHasSixteenStatesWithTheDerivedRecords) {
  ModelRun run = runModel(0);
  ASSERT_EQ(0, run.status);
  EXPECT_EQ(0u, run.out.find("path=[./]\n"
                             "The Global Variable values for experiment Experiment 1 are:\n"
                             "queue_capacity\tshort\t1\n"));
  EXPECT_NE(std::string::npos, run.out.find("_$16$\nGenerated: 16 states\n"));
  EXPECT_EQ(0u, run.arm.find("1\n16\n" + std::string(60, ' ') + "\n1\n"));

  StateSpace space = parseArm(run.arm);
  ASSERT_EQ(16u, space.text.size());
  // Empty shop: the arrival goes to one of the four idle machines.
  EXPECT_EQ(
      "1\n"
      "2\n2.5000000000e-01\n3\n2.5000000000e-01\n4\n2.5000000000e-01\n5\n2.5000000000e-01\n"
      "0\n",
      joined(space.text[1]));
  // State 2 is (1,0,0,0): an arrival goes to machine 2, 3 or 4 (states 6 to
  // 8); the service (0.3) leads to the empty shop (0.9) or, reworked, back to
  // any of the four idle machines (0.3 x 0.1 / 4 each).
  EXPECT_EQ(
      "2\n"
      "1\n2.7000000000e-01\n"
      "2\n7.5000000000e-03\n3\n7.5000000000e-03\n4\n7.5000000000e-03\n5\n7.5000000000e-03\n"
      "6\n3.3333333333e-01\n7\n3.3333333333e-01\n8\n3.3333333333e-01\n"
      "0\n",
      joined(space.text[2]));
  // State 16 is the full shop: arrivals are rejected and reworked parts go
  // back to the machine just freed, so it loops at 1 + 0.1 x 1.5; each
  // service that passes frees one machine (states 15 to 12 lack machines
  // 1 to 4).
  EXPECT_EQ(
      "16\n"
      "12\n4.0500000000e-01\n13\n3.6000000000e-01\n14\n3.1500000000e-01\n"
      "15\n2.7000000000e-01\n16\n1.1500000000e+00\n"
      "0\n",
      joined(space.text[16]));

  std::vector<std::string> var = linesOf(run.var);
  ASSERT_LE(16u, var.size());
  EXPECT_EQ(
      "queue_length1\nqueue_length2\nqueue_length3\nqueue_length4\nrejections\n"
      "1\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n"
      "2\n0\n1\n0\n0\n0\n0\n0\n0\n0\n0\n",
      joined(std::vector<std::string>(var.begin(), var.begin() + 27)));
}

TEST(JobShopRunTest, TheTypeFileListsFiveVariables) {
  std::string variable = "Type:0\nNumTimes:1\nStart:100\nStop:100\n";
  EXPECT_EQ("Version:1\nNumPV:5\nName:queue_length1\n" + variable + "Name:queue_length2\n" +
                variable + "Name:queue_length3\n" + variable + "Name:queue_length4\n" + variable +
                "Name:rejections\n" + variable,
            runModel(0).pvtype);
}

TEST(JobShopRunTest, EveryRecordFollowsTheRoutingRules) {
  checkAgainstRules(1, 0);
  checkAgainstRules(2, 1);
}

TEST(JobShopRunTest, EveryQueueVectorIsAState) {
  const int counts[] = {16, 81, 625, 6561};
  for (int e = 0; e < 4; e++) {
    ModelRun run = runModel(e);
    ASSERT_EQ(0, run.status);
    std::string count = std::to_string(counts[e]);
    EXPECT_NE(std::string::npos, run.out.find("Generated: " + count + " states\n"));
    EXPECT_EQ(0u, run.arm.find("1\n" + count + "\n"));
    EXPECT_EQ(static_cast<size_t>(counts[e]), parseVar(run.var).size());
  }
}

TEST(JobShopRunTest, TheCapacityCanBeOverridden) {
  ModelRun run = runModel(0, "-Os:queue_capacity:3");
  ASSERT_EQ(0, run.status);
  EXPECT_NE(std::string::npos, run.out.find("Generated: 256 states\n"));
}

}  // namespace
