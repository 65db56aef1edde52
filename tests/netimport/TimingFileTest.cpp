// The timing file: what each line sets, and the diagnostic of every line it
// refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "netimport/TimingFile.h"

namespace {

// Transitions a, b (both named "same"), c (named "solo") and d (named "a").
NetDescription fourTransitions() {
  NetDescription net;
  net.id = "n";
  net.places.push_back({"p", "", 0});
  for (const char* id : {"a", "b", "c", "d"}) {
    NetDescription::TransitionEntry entry;
    entry.id = id;
    entry.name = std::string(id) == "c" ? "solo" : std::string(id) == "d" ? "a" : "same";
    net.transitions.push_back(entry);
  }
  return net;
}

TEST(TimingFileTest, SetsEachNamedTransitionAndLeavesTheOthersExponentialAtRateOne) {
  const std::string text =
      "\xEF\xBB\xBF# transition timing, after an editor's byte-order mark\n"
      "\n"
      "a exponential 2.5   # by id, though d is named a\n"
      "solo\tdeterministic 0.25\r\n"
      "b immediate priority 1000000 weight 0.5\n";
  ReadResult<NetDescription> read = parseTimings(text, "t.timing", fourTransitions());
  ASSERT_TRUE(read.ok()) << read.error.text();
  const std::vector<NetDescription::TransitionEntry>& t = read.value->transitions;
  EXPECT_EQ(Exponential, t[0].distribution);
  EXPECT_EQ(2.5, t[0].parameter);
  EXPECT_EQ(Instantaneous, t[1].distribution);
  EXPECT_EQ(0.5, t[1].weight);
  EXPECT_EQ(1000000, t[1].priority);
  EXPECT_EQ(Deterministic, t[2].distribution);
  EXPECT_EQ(0.25, t[2].parameter);
  EXPECT_EQ(Exponential, t[3].distribution);
  EXPECT_EQ(1.0, t[3].parameter);

  ReadResult<NetDescription> defaults = parseTimings("d immediate\n", "t", fourTransitions());
  ASSERT_TRUE(defaults.ok());
  EXPECT_EQ(1.0, defaults.value->transitions[3].weight);
  EXPECT_EQ(1, defaults.value->transitions[3].priority);
}

TEST(TimingFileTest, RefusesBadLinesNamingTheWord) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"x exponential 1", "t.timing:1:1: error: the net has no transition with the id or name 'x'"},
      {"same exponential 1",
       "t.timing:1:1: error: several transitions are named 'same'; give its id instead"},
      {"a exponential 1\n\n a deterministic 2",
       "t.timing:3:2: error: transition 'a' is already timed on line 1"},
      {"a",
       "t.timing:1:1: error: expected exponential, immediate or deterministic after the "
       "transition"},
      {"a erlang 2",
       "t.timing:1:3: error: unknown timing 'erlang'; expected exponential, immediate or "
       "deterministic"},
      {"a exponential", "t.timing:1:3: error: exponential needs a rate"},
      {"a exponential 1 2", "t.timing:1:17: error: unexpected '2' after the rate"},
      {"a exponential 0", "t.timing:1:15: error: the rate '0' is not a positive number"},
      {"a exponential 2x", "t.timing:1:15: error: the rate '2x' is not a positive number"},
      {"a deterministic nan", "t.timing:1:17: error: the delay 'nan' is not a positive number"},
      {"a immediate weight", "t.timing:1:13: error: weight needs a value"},
      {"a immediate weight 0", "t.timing:1:20: error: the weight '0' is not a positive number"},
      {"a immediate rank 2",
       "t.timing:1:13: error: unexpected 'rank'; expected weight or priority"},
      {"a immediate weight 1 weight 2", "t.timing:1:22: error: weight is given twice"},
      {"a immediate priority 2 priority 3", "t.timing:1:24: error: priority is given twice"},
      {"a immediate priority 1.5",
       "t.timing:1:22: error: the priority '1.5' is not a whole number from 1 to 1000000"},
      {"a immediate priority 0",
       "t.timing:1:22: error: the priority '0' is not a whole number from 1 to 1000000"},
      {"a immediate priority 1000001",
       "t.timing:1:22: error: the priority '1000001' is not a whole number from 1 to 1000000"},
  };
  for (const auto& bad : cases) {
    ReadResult<NetDescription> read = parseTimings(bad.first, "t.timing", fourTransitions());
    ASSERT_FALSE(read.ok()) << bad.first;
    EXPECT_EQ(bad.second, read.error.text()) << bad.first;
  }
}

TEST(TimingFileTest, NamesAFileThatCannotBeRead) {
  ReadResult<NetDescription> read = readTimingFile("/nonexistent/t.timing", fourTransitions());
  ASSERT_FALSE(read.ok());
  EXPECT_EQ("/nonexistent/t.timing: error: no such file", read.error.text());
}

}  // namespace
