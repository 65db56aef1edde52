// The mistakes the checks catch in a well-formed description, each at its
// position: names, arcs, timings and cases; composition; rewards; studies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/compiler/CompileHelpers.h"

namespace {

using compile_helpers::errorsOf;
using compile_helpers::expectFirstErrors;
using compile_helpers::firstError;

TEST(CheckErrorTest, NamesMustBeFreeInTheirScopeAndInCpp) {
  expectFirstErrors({
      {"global int n\nglobal float n",
       "2:14: 'n' is already declared as a global variable (line 1)"},
      {"atomic a {\n  place p, q, p\n}", "2:15: 'p' is already declared as a place (line 2)"},
      {"atomic a(int p) {\n  place p\n}", "2:9: 'p' is already declared as a parameter (line 1)"},
      {"atomic a {\n  place go\n  activity go rate 1\n}",
       "3:12: 'go' is already declared as a place (line 2)"},
      {"atomic a {\n  place goActivity\n  activity go rate 1\n}",
       "3:12: 'goActivity' is already declared as a place (line 2)"},
      {"atomic a {\n  place new\n}", "2:9: 'new' is a C++ keyword and cannot name a place"},
      {"atomic a {\n  place Name\n}",
       "2:9: 'Name' is a name the framework uses and cannot name a place"},
      {"atomic a {\n  place x__y\n}", "2:9: 'x__y' is reserved in C++ and cannot name a place"},
      {"atomic a {\n  place p_Mark\n}",
       "2:9: 'p_Mark' is a name the generated code uses and cannot name a place"},
      {"global short t\natomic a {\n  place t\n}",
       "3:9: the place 't' would hide the global variable of that name (line 1)"},
      {"global short t\natomic a(int t) {\n}",
       "2:14: the parameter 't' would hide the global variable of that name (line 1)"},
      {"global double time",
       "1:15: 'time' is a function of the C library and cannot name a "
       "global variable"},
      // Macros of the headers the generated code includes.
      {"global int EOF",
       "1:12: 'EOF' is a macro of the C++ headers and cannot name a global "
       "variable"},
      {"atomic NULL {\n  place p\n}",
       "1:8: 'NULL' is a macro of the C++ headers and cannot name a model"},
      // Names the generated code gives to the model's classes and members.
      {"global double mSAN\natomic m {\n  place p\n}",
       "1:15: the name 'mSAN' is taken by the generated code: it is the class of atomic model "
       "'m'; choose another"},
      {"global double go\natomic m {\n  place p\n  activity go rate go  in p\n}",
       "1:15: the name 'go' is taken by the generated code: it is activity 'go' of atomic model "
       "'m'; choose another"},
      {"global int topRJ\natomic m {\n  place p\n}\njoin top {\n  m\n}",
       "1:12: the name 'topRJ' is taken by the generated code: it is the class of join 'top'; "
       "choose another"},
      {"atomic m {\n  place mSAN\n}",
       "2:9: the name 'mSAN' is taken by the generated code: it is the class of atomic model "
       "'m'; choose another"},
  });
}

TEST(CheckErrorTest, WhatTheModelExpandsToIsBounded) {
  // Arrays, copies and joins of joins multiply; counts over global
  // variables are checked when the model is built.
  expectFirstErrors({
      {"atomic cell {\n  place a[1000]\n}\njoin row {\n  cell * 70\n}",
       "5:10: join 'row' with 70 copies of 'cell' would hold 70000 places; a model has at "
       "most 65536"},
      {"atomic cell {\n  place a[1000]\n}\njoin row {\n  cell * 10\n}\n"
       "join grid {\n  row * 7\n}",
       "8:9: join 'grid' with 7 copies of 'row' would hold 70000 places; a model has at most "
       "65536"},
      {"atomic cell {\n  place p\n  activity a rate 1  in p\n    case 0.5:\n    case 0.5:\n}"
       "\njoin row {\n  cell * 10000\n}\njoin grid {\n  row * 4\n}",
       "11:9: join 'grid' with 4 copies of 'row' would hold 80000 activity instances; a model "
       "has at most 65536"},
      {"global int n = 100000\natomic cell {\n  place a[1000]\n}\njoin row {\n  cell * n\n}",
       "no error"},
  });
}

TEST(CheckErrorTest, PlacesArcsAndTimings) {
  expectFirstErrors({
      {"atomic a {\n  place p\n  activity t rate 1 in q\n}",
       "3:24: atomic model 'a' has no place 'q'"},
      {"atomic a {\n  place p\n  activity t rate 1 out p, p\n}",
       "3:28: the place 'p' is listed twice; give one arc a multiplicity"},
      {"atomic a {\n  place p = 1.5\n}",
       "2:13: the initial marking of 'p' must be a whole number from 0 to 32767"},
      {"atomic a {\n  place p, q = p + 1\n}", "2:16: an initial marking cannot read the place 'p'"},
      {"atomic a {\n  activity t rate 0\n}", "2:19: a rate must be positive"},
      {"atomic a {\n  activity t deterministic -1\n}", "2:28: a delay must be positive"},
      {"atomic a {\n  activity t erlang 1 phases 2.5\n}",
       "2:30: the number of phases must be a whole number of at least 1"},
      {"atomic a {\n  activity t rate 1 weight 2\n}",
       "2:28: only instantaneous activities have a weight; give cases their probabilities "
       "instead"},
      {"atomic a {\n  activity t rate 1 rank 2\n}",
       "2:26: only instantaneous activities have a rank (a case may have one)"},
      {"atomic a {\n  place p\n  activity t instantaneous out p\n}",
       "3:12: the instantaneous activity 't' is always enabled; give it input arcs or a 'when' "
       "predicate"},
      {"atomic a {\n  place p\n  activity t instantaneous\n    case 0.5:  when p > 0  out p\n"
       "    case 0.5:  out p\n}",
       "3:12: the instantaneous activity 't' is always enabled; give it input arcs or a 'when' "
       "predicate"},
  });
  // Guarded in every case, it is disabled when no case is enabled.
  EXPECT_EQ(std::vector<std::string>(),
            errorsOf("atomic a {\n  place p\n  activity t instantaneous\n"
                     "    case 0.5:  when p > 0  out p\n    case 0.5:  when p < 5  out p\n}"));
}

struct LimitCase {
  const char* accepted;  // at the limit
  const char* refused;   // one beyond it
  const char* error;
};

// Each limit of a description takes its extreme value and refuses the next.
TEST(CheckErrorTest, EachLimitTakesItsExtremeAndRefusesTheNextValue) {
  const LimitCase cases[] = {
      {"atomic a {\n  place p = 32767\n}", "atomic a {\n  place p = 32768\n}",
       "2:13: the initial marking of 'p' must be a whole number from 0 to 32767"},
      {"atomic a {\n  place p = 0\n}", "atomic a {\n  place p = -1\n}",
       "2:13: the initial marking of 'p' must be a whole number from 0 to 32767"},
      {"atomic a {\n  place p\n  activity t rate 1 in p * 32767\n}",
       "atomic a {\n  place p\n  activity t rate 1 in p * 32768\n}",
       "3:28: a multiplicity must be a whole number from 1 to 32767"},
      {"atomic a {\n  place p\n  activity t rate 1 in p * 1\n}",
       "atomic a {\n  place p\n  activity t rate 1 in p * 0\n}",
       "3:28: a multiplicity must be a whole number from 1 to 32767"},
      {"atomic a {\n  activity t erlang 1 phases 1\n}",
       "atomic a {\n  activity t erlang 1 phases 0\n}",
       "2:30: the number of phases must be a whole number of at least 1"},
      {"atomic a {\n  place b[1000]\n}", "atomic a {\n  place b[1001]\n}",
       "2:11: the size of a place array must be a whole number from 1 to 1000"},
      {"atomic a {\n  place b[1]\n}", "atomic a {\n  place b[0]\n}",
       "2:11: the size of a place array must be a whole number from 1 to 1000"},
      {"atomic a {\n}\njoin j {\n  a * 10000\n}", "atomic a {\n}\njoin j {\n  a * 10001\n}",
       "4:7: a number of copies must be a whole number from 0 to 10000"},
      {"atomic a {\n  place p\n}\nrewards {\n  r at 0 = a.p\n}",
       "atomic a {\n  place p\n}\nrewards {\n  r at -1 = a.p\n}",
       "5:8: a time point cannot be negative"},
      {"global char c = 127\natomic a {\n}", "global char c = 128\natomic a {\n}",
       "1:17: 128 does not fit type char (c is a char)"},
      {"global char c = -128\natomic a {\n}", "global char c = -129\natomic a {\n}",
       "1:17: -129 does not fit type char (c is a char)"},
      {"global int i\natomic a {\n}\nstudy range { i = 1 .. 10000 }",
       "global int i\natomic a {\n}\nstudy range { i = 1 .. 10001 }",
       "4:19: the range has more than 10000 values"},
      {"global int i\nglobal int k\natomic a {\n}\nstudy range { i = 1 .. 100\n k = 1 .. 100 }",
       "global int i\nglobal int k\natomic a {\n}\nstudy range { i = 1 .. 100\n k = 1 .. 101 }",
       "5:1: the study has more than 10000 experiments"},
  };
  for (const LimitCase& c : cases) {
    EXPECT_EQ(std::vector<std::string>(), errorsOf(c.accepted)) << c.accepted;
    EXPECT_EQ(c.error, firstError(c.refused)) << c.refused;
  }
}

TEST(CheckErrorTest, PlaceArraysHaveASizeAndArcsAnIndexWithinIt) {
  expectFirstErrors({
      {"atomic a {\n  place b[2]\n  activity t rate 1 in b\n}",
       "3:24: 'b' is an array of places: give the index of one, as in b[0]"},
      {"atomic a {\n  place b[2]\n  activity t rate 1 in b[2]\n}",
       "3:26: the index of 'b' must be a whole number from 0 to 1"},
      {"atomic a {\n  place p\n  activity t rate 1 in p[0]\n}",
       "3:26: 'p' is a place, not an array of places"},
      {"atomic a {\n  place b[2]\n}\natomic c {\n  place b[3]\n}\njoin j {\n  a, c\n"
       "  share b\n}",
       "9:9: the places shared as 'b' differ: an array of 2 places in 'a', an array of 3 "
       "places in 'c'"},
  });
}

TEST(CheckErrorTest, CasesGiveProbabilitiesThatSumToOneOrWeights) {
  expectFirstErrors({
      {"atomic a {\n  place p\n  activity t rate 1\n    case 0.7: out p\n    case 0.2:\n}",
       "4:5: the case probabilities of activity 't' sum to 0.9, not 1 (write 'case weight' for "
       "relative weights)"},
      {"atomic a {\n  activity t rate 1\n    case 0.5:\n    case 0.4995:\n}",
       "3:5: the case probabilities of activity 't' sum to 0.9995, not 1 (write 'case weight' "
       "for relative weights)"},
      {"atomic a {\n  activity t rate 1\n    case 3:\n    case 1:\n}",
       "3:5: the case probabilities of activity 't' sum to 4, not 1 (write 'case weight' for "
       "relative weights)"},
      {"atomic a {\n  activity t rate 1\n    case 1.5:\n    case -0.5:\n}",
       "4:10: a case probability cannot be negative"},
      {"atomic a {\n  activity t rate 1\n    case 0.5:\n    case weight 1:\n}",
       "4:5: the cases of activity 't' mix probabilities and weights"},
      {"atomic a {\n  place p\n  activity t rate 1 out p\n    case 1:\n}",
       "3:25: an activity with cases gives its output arcs in its cases"},
      {"atomic a {\n  place p\n  activity t instantaneous in p weight 2\n    case 1:\n}",
       "3:40: an activity with cases takes its weights from its cases"},
  });
  // Weights, and probabilities that are not constants, are not summed;
  // a sum that misses 1 only by rounding is 1.
  EXPECT_EQ(std::vector<std::string>(),
            errorsOf("global double x\natomic a {\n  activity t rate 1\n"
                     "    case weight 3:\n    case weight 1:\n"
                     "  activity u rate 1\n    case x:\n    case 0.2:\n"
                     "  activity v rate 1\n    case 0.7:\n    case 0.2:\n    case 0.1:\n}"));
}

const char kParts[] =
    "atomic a {\n  place p, q\n}\n"
    "atomic b {\n  place p = 1, q\n}\n"
    "atomic c(int n) {\n  place p = n\n}\n";

std::string withParts(const std::string& rest) { return kParts + rest; }

TEST(CheckErrorTest, JoinsAndSharedPlaces) {
  expectFirstErrors({
      {"atomic a {\n}\njoin j {\n  a, x\n}", "4:6: there is no atomic model or join 'x'"},
      {"atomic a {\n}\njoin j {\n  a, a\n}", "4:6: 'a' is already declared as a child (line 4)"},
      {"atomic a(int n) {\n}\njoin j {\n  a\n}", "4:3: 'a' takes 1 argument, not 0"},
      {"join j {\n  share p\n}", "1:6: join 'j' has no children"},
      {"atomic a {\n}\njoin j {\n  a, k\n}\njoin k {\n  j\n}", "3:6: join 'j' contains itself"},
  });
  expectFirstErrors({
      {withParts("join j {\n  a, b\n  share r\n}").c_str(),
       "12:9: no child of join 'j' has a place 'r'"},
      {withParts("join j {\n  a, x = c(1)\n  share q\n}").c_str(),
       "12:9: only 'a' has a place 'q'; a shared place needs two children"},
      {withParts("join j {\n  a, b\n  share p\n}").c_str(),
       "12:9: the children sharing 'p' start it differently: 0 in 'a', 1 in 'b'"},
      {withParts("join j {\n  a, x = c(0)\n  share p\n}").c_str(),
       "12:9: the initial marking of 'p' in 'x' depends on a parameter, so the children "
       "sharing 'p' may start it differently"},
      {withParts("join j {\n  a, b\n  share s = a.q, y.q\n}").c_str(),
       "12:18: join 'j' has no child 'y'"},
      {withParts("join j {\n  a, b\n  share s = a.q, b.r\n}").c_str(),
       "12:20: 'b' (b) has no place 'r'"},
      {withParts("join j {\n  a, b\n  share q\n  share s = a.q, b.q\n}").c_str(),
       "13:9: the place 'a.q' is already shared as 'q'"},
      {withParts("join j {\n  a, b\n  share s = a.q, a.p\n}").c_str(),
       "12:18: 'a' is listed twice"},
  });
  // Shared by name, a place must be in every child, so that a misspelling
  // cannot leave a child out; "in" names the children that share it.
  expectFirstErrors({
      {withParts("join j {\n  a, b, x = c(1)\n  share q\n}").c_str(),
       "12:9: 'x' has no place 'q'; to share it among some children only, name them: "
       "share q in a, b"},
      {withParts("join j {\n  a, b, x = c(1)\n  share q in a, y\n}").c_str(),
       "12:17: join 'j' has no child 'y'"},
      {withParts("join j {\n  a, b, x = c(1)\n  share q, p in a, x\n}").c_str(),
       "12:20: 'x' (c) has no place 'q'"},
  });
  EXPECT_EQ(std::vector<std::string>(),
            errorsOf(withParts("join j {\n  a, b, x = c(1)\n  share q in a, b\n}")));
  // A place of a repeated child can be shared among its copies alone.
  EXPECT_EQ(std::vector<std::string>(),
            errorsOf(withParts("join j {\n  a * 3, x = c(2), b\n  share q in a\n}")));
}

TEST(CheckErrorTest, TheModelsFormOneTreeWithUnambiguousInstances) {
  expectFirstErrors({
      {"", "1:1: the file describes no model: it has no atomic model"},
      {withParts("join j {\n  a, b\n}").c_str(),
       "7:8: 'c' is not part of 'j'; the models of a file must form one tree under one top "
       "model"},
      {withParts("join j {\n  a, b = c(1)\n}\njoin k {\n  j, b\n}").c_str(),
       "14:6: the instance name 'b' already stands for 'c' (line 11); rewards could not tell "
       "them apart"},
  });
  // In two joins, one name for one model is one instance to the rewards.
  EXPECT_EQ(std::vector<std::string>(),
            errorsOf(withParts("join j {\n  x = c(1)\n}\njoin k {\n  x = c(2)\n}\n"
                               "join top {\n  j, k, a, b\n}\nrewards {\n  r at 1 = x.p\n}")));
}

const char kModel[] =
    "atomic a {\n  place p, q\n  activity t rate 1 in p  out q\n}\n"
    "atomic b {\n  place p\n}\n"
    "join j {\n  a, x = b\n  share p\n}\n";

std::string withModel(const std::string& rest) { return kModel + rest; }

TEST(CheckErrorTest, RewardsReadPlacesOfInstancesInTheTree) {
  expectFirstErrors({
      {withModel("rewards {\n  r at 1 = y.p\n}").c_str(),
       "13:12: the model tree has no instance 'y'"},
      {withModel("rewards {\n  r at 1 = a.z\n}").c_str(), "13:12: 'a' (a) has no place 'z'"},
      {withModel("rewards {\n  r at 1 = q\n}").c_str(), "13:12: write the place 'q' as instance.q"},
      {withModel("rewards {\n  r at 1 = a\n}").c_str(),
       "13:12: a reward reads places of 'a': write a.place"},
      {withModel("rewards {\n  r at 1 = 5\n}").c_str(),
       "13:12: the rate reward of 'r' reads no place (write instance.place)"},
      {withModel("rewards {\n  r at 1 = a.p\n  r at 2 = a.q\n}").c_str(),
       "14:3: 'r' is already declared as a reward variable (line 13)"},
      {withModel("rewards {\n  r over [0, 1]  impulse j.t = 1\n}").c_str(),
       "13:26: the model tree has no instance 'j'"},
      {withModel("rewards {\n  r over [0, 1]  impulse a.u = 1\n}").c_str(),
       "13:28: 'a' (a) has no activity 'u'"},
      {withModel("rewards {\n  r over [0, 1]  impulse a.t = x.p\n}").c_str(),
       "13:32: an impulse reads only places of the instance whose activity earns it ('a')"},
  });
}

TEST(CheckErrorTest, EachKindOfRewardHasSoundTimesAConditionThatReadsAPlaceAndUsableImpulses) {
  expectFirstErrors({
      {withModel("rewards {\n  r over [5, 2] = a.p\n}").c_str(),
       "13:10: the interval [5, 2] is empty: its start must come before its stop"},
      {withModel("rewards {\n  r average over [0, 1], [1, 1] = a.p\n}").c_str(),
       "13:26: the interval [1, 1] is empty: its start must come before its stop"},
      {withModel("rewards {\n  r over [-1, 2] = a.p\n}").c_str(),
       "13:11: a time point cannot be negative"},
      {withModel("rewards {\n  r probability until a.p > 0 at -1\n}").c_str(),
       "13:34: a time point cannot be negative"},
      {withModel("rewards {\n  r mean time until 5 > 3\n}").c_str(),
       "13:21: the condition of 'r' reads no place (write instance.place)"},
      {withModel("rewards {\n  r in the long run\n}").c_str(),
       "13:3: the reward variable 'r' has neither a rate reward nor an impulse"},
      {withModel("rewards {\n  r mean time until a.p > 0\n    impulse a.t = 1\n}").c_str(),
       "14:5: 'r' asks about a condition, which earns no impulses; give them to a variable of "
       "their own (over, average over or in the long run)"},
      {withModel("rewards {\n  r probability until a.p > 0 at 1  impulse a.t = 1\n}").c_str(),
       "13:37: 'r' asks about a condition, which earns no impulses; give them to a variable of "
       "their own (over, average over or in the long run)"},
  });
}

TEST(CheckErrorTest, StudiesGiveValuesOfTheVariablesTypes) {
  const std::string globals =
      "global short s\nglobal float f\nglobal bool b\n"
      "atomic a {\n}\n";
  expectFirstErrors({
      {"global short s = 40000\natomic a {\n}",
       "1:18: 40000 does not fit type short (s is a short)"},
      {(globals + "study range { s = 1.5 }").c_str(),
       "6:19: 1.5 is not a whole number (s is a short)"},
      {(globals + "study range { b = 2 }").c_str(),
       "6:19: 2 is not a truth value (true, false, 1 or 0) (b is a bool)"},
      {(globals + "study range { f = 1e39 }").c_str(),
       "6:19: 1e39 does not fit type float (f is a float)"},
      {(globals + "study range { g = 1 }").c_str(), "6:15: there is no global variable 'g'"},
      {(globals + "study range { s = 1\n s = 2 }").c_str(),
       "7:2: 's' is already declared as a value list of the study (line 6)"},
      {(globals + "study range { f = 1 .. 3 }").c_str(),
       "6:19: a range 'a .. b' counts whole numbers, but f is a float; list its values"},
      {(globals + "study range { s = 5 .. 1 }").c_str(),
       "6:19: a range runs upwards from its first to its last value in steps of at least 1"},
      {(globals + "study range { s = 1 .. 200\n f = 1 .. 100 }").c_str(),
       "7:6: a range 'a .. b' counts whole numbers, but f is a float; list its values"},
      {(globals + "study set { s = 1, 2\n f = 1 }").c_str(),
       "7:2: f has 1 values, but the experiments of a set study take one value of each variable "
       "and the first variable has 2"},
  });
}

}  // namespace
