// Structure that follows the global variables: arrays of places sized by an
// expression, arcs indexed by one, the copy number of a repeated child, and
// rewards that read a join's shared places once.
#include <gtest/gtest.h>

#include <string>

#include "tests/compiler/CompileHelpers.h"

namespace {

using compile_helpers::compiled;
using compile_helpers::expectFirstErrors;
using compile_helpers::firstError;

// A ring of n stations sharing an array of n places; each of its lines may
// be replaced through the arguments.
std::string ring(const std::string& place = "place q[n]",
                 const std::string& arcs = "in q[k]  out q[(k + 1) % n]",
                 const std::string& child = "station(index) * n", const std::string& rewards = "") {
  return "global int n = 3\natomic station(int k) {\n  " + place + "\n  activity move rate 1  " +
         arcs + "\n}\njoin ring {\n  " + child + "\n  share q\n}\n" + rewards;
}

TEST(ParametricTest, ArraysAndIndicesFollowTheGlobals) {
  const sanc::Model model = compiled(ring());
  ASSERT_EQ(1u, model.atomics.size());
  EXPECT_EQ(sanc::kBuiltSize, model.atomics[0].placeSizes[0]);
  EXPECT_EQ("sanc_runtime::arraySize(n, \"station\", \"q\", \"n\")",
            model.atomics[0].placeSizeCode[0]);
  EXPECT_EQ("no error", firstError(ring("place q[2 * n + 1] = 1")));
  EXPECT_EQ("no error", firstError(ring("place q[n], r[4]", "in q[k], r[3]  out q[0]")));
  expectFirstErrors({
      {ring("place q[k]").c_str(),
       "3:11: the size of an array of places reads global variables only, not 'k'"},
      {ring("place q[n], p", "in q[p]").c_str(),
       "4:30: the index of an arc reads parameters and global variables only, not 'p'"},
      {ring("place q[n]", "in q[-1]").c_str(),
       "4:30: the index of 'q' must be a whole number from 0"},
      {ring("place q[4]", "in q[k + 4 / 8]").c_str(), "no error"},
      {ring("place q[n]", "in q[k]", "station(index)").c_str(),
       "7:11: 'index' is the number of a copy of a repeated child (station * count), from 0"},
      {(ring() + "atomic other {\n  place q[n + 1]\n}\njoin top {\n  ring, other\n  share q\n}")
           .c_str(),
       "15:9: the places shared as 'q' differ: an array sized by sanc_runtime::arraySize(n, "
       "\"station\", \"q\", \"n\") in 'ring', an array sized by sanc_runtime::arraySize((n + 1.0), "
       "\"other\", \"q\", \"n + 1\") in 'other'"},
  });
}

TEST(ParametricTest, RewardsReadAJoinsSharedPlacesOnce) {
  const sanc::Model model =
      compiled(ring("place q[n], mine", "in q[k]  out q[(k + 1) % n]", "station(index) * n",
                    "rewards {\n  r at 1 = ring.q[0] + 2\n}"));
  ASSERT_EQ(1u, model.rewards.size());
  ASSERT_EQ(1u, model.rewards[0].joins.size());
  const sanc::JoinRead& read = model.rewards[0].joins[0];
  EXPECT_EQ("ring", read.join);
  EXPECT_EQ("station", read.representative);
  EXPECT_TRUE(read.repeated);
  expectFirstErrors({
      {ring("place q[n]", "in q[k]", "station(index) * n", "rewards {\n  r at 1 = ring.p\n}")
           .c_str(),
       "11:12: a reward reads the places a join shares: 'ring' shares no place 'p'"},
      {ring("place q[n], mine", "in q[k]", "station(index) * n",
            "rewards {\n  r at 1 = station.mine + ring.q[0]\n}")
           .c_str(),
       "11:12: 'station' is read both by itself (once per copy) and through 'ring' (once); give "
       "each its own reward variable"},
  });
}

TEST(ParametricTest, FamiliesOfActivitiesReadTheirIndex) {
  const std::string line = "global int n = 3\natomic line {\n  place q[n], p\n  activity ";
  EXPECT_EQ("no error",
            firstError(line + "move[i in 0 .. n - 2] rate 1 + i / 2  in q[i]  when q[i + 1] == 0"
                              "\n    case 1 / 2:  out q[i + 1]\n    case 0.5:  out p\n}"));
  expectFirstErrors({
      {(line + "move[p in 0 .. n] rate 1\n}").c_str(),
       "4:17: the index 'p' would hide the place of that name"},
      {(line + "move[i in 0 .. p] rate 1\n}").c_str(),
       "4:27: the last index of a family reads global variables only, not 'p'"},
      {(line + "move[i in 0 .. n] rate 1  when q[i] / 2 > 0\n}").c_str(),
       "4:48: 'q[i] / 2' divides whole numbers, and C++ drops the remainder; write q[i] / 2.0 "
       "for the quotient, or floor(q[i] / 2.0) for its whole part"},
      {(line + "move[i in 0 .. n] rate 1  in p\n}\nrewards {\n  r over [0, 1]  impulse "
               "line.move = 1\n}")
           .c_str(),
       "7:31: 'move' is a family of activities, which earns no impulses yet; give the variable a "
       "rate reward instead"},
  });
}

}  // namespace
