// The reward file: the variables it defines, and the diagnostic of every
// line it refuses.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "netimport/RewardFile.h"

namespace {

// Places p (named "first"), q and r (both named "twin").
NetDescription threePlaces() {
  NetDescription net;
  net.id = "n";
  net.places = {{"p", "first", 0}, {"q", "twin", 0}, {"r", "twin", 0}};
  return net;
}

TEST(RewardFileTest, ReadsTokenCountsAndMarkedPlacesWithTheirTimes) {
  const std::string text =
      "# variable measure places at times\n"
      "load tokens first r at 0 10.5\n"
      "\n"
      "busy\tmarked q at 365  # by id\n";
  ReadResult<std::vector<NetRewardVariable>> read = parseRewards(text, "r.rewards", threePlaces());
  ASSERT_TRUE(read.ok()) << read.error.text();
  const std::vector<NetRewardVariable>& variables = *read.value;
  ASSERT_EQ(2u, variables.size());
  EXPECT_EQ("load", variables[0].name);
  EXPECT_EQ(NetRewardVariable::Measure::Tokens, variables[0].measure);
  EXPECT_EQ(std::vector<int>({0, 2}), variables[0].places);
  EXPECT_EQ(std::vector<double>({0.0, 10.5}), variables[0].times);
  EXPECT_EQ("busy", variables[1].name);
  EXPECT_EQ(NetRewardVariable::Measure::Marked, variables[1].measure);
  EXPECT_EQ(std::vector<int>({1}), variables[1].places);
  EXPECT_EQ(std::vector<double>({365.0}), variables[1].times);
}

TEST(RewardFileTest, RefusesBadLinesNamingTheWord) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"v", "r.rewards:1:1: error: expected tokens or marked after the variable"},
      {"v count p at 1", "r.rewards:1:3: error: expected tokens or marked after the variable"},
      {"v tokens at 1", "r.rewards:1:3: error: tokens needs a place"},
      {"v tokens x at 1", "r.rewards:1:10: error: the net has no place with the id or name 'x'"},
      {"v tokens twin at 1",
       "r.rewards:1:10: error: several places are named 'twin'; give its id instead"},
      {"v tokens p first at 1", "r.rewards:1:12: error: place 'first' is listed twice"},
      {"v marked p q at 1", "r.rewards:1:12: error: marked takes one place"},
      {"v tokens p", "r.rewards:1:10: error: expected 'at' and the time points after the places"},
      {"v tokens p at", "r.rewards:1:12: error: 'at' needs at least one time point"},
      {"v tokens p at -1", "r.rewards:1:15: error: the time '-1' is not a number from 0 up"},
      {"v tokens p at 1\nv marked q at 2",
       "r.rewards:2:1: error: variable 'v' is already defined on line 1"},
  };
  for (const auto& bad : cases) {
    ReadResult<std::vector<NetRewardVariable>> read =
        parseRewards(bad.first, "r.rewards", threePlaces());
    ASSERT_FALSE(read.ok()) << bad.first;
    EXPECT_EQ(bad.second, read.error.text()) << bad.first;
  }
}

TEST(RewardFileTest, RefusesMoreVariablesOrPlacesThanItsLimits) {
  std::string times;
  for (int t = 0; t < 1000; t++) {
    times += " " + std::to_string(t);
  }
  ReadResult<std::vector<NetRewardVariable>> most =
      parseRewards("v marked p at" + times, "r", threePlaces());
  ASSERT_TRUE(most.ok()) << most.error.text();
  EXPECT_EQ(1000u, most.value->front().times.size());
  ReadResult<std::vector<NetRewardVariable>> more =
      parseRewards("v marked p at" + times + " 1000", "r", threePlaces());
  ASSERT_FALSE(more.ok());
  EXPECT_EQ("r:1:12: error: more than 1000 time points", more.error.text());

  std::string manyVariables;
  for (int v = 0; v <= 1000; v++) {
    manyVariables += "v" + std::to_string(v) + " marked p at 1\n";
  }
  ReadResult<std::vector<NetRewardVariable>> variables =
      parseRewards(manyVariables, "r", threePlaces());
  ASSERT_FALSE(variables.ok());
  EXPECT_EQ("r:1001:1: error: more than 1000 variables", variables.error.text());

  NetDescription wide;
  std::string allPlaces;
  for (int p = 0; p < 1000; p++) {
    wide.places.push_back({"p" + std::to_string(p), "", 0});
    allPlaces += " p" + std::to_string(p);
  }
  std::string manyPlaces;
  for (int v = 0; v < 101; v++) {
    manyPlaces += "v" + std::to_string(v) + " tokens" + allPlaces + " at 1\n";
  }
  ReadResult<std::vector<NetRewardVariable>> places = parseRewards(manyPlaces, "r", wide);
  ASSERT_FALSE(places.ok());
  EXPECT_EQ(101, places.error.line);
  EXPECT_EQ("the variables name more than 100000 places", places.error.message);
}

}  // namespace
