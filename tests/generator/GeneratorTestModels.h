#ifndef TESTS_GENERATOR_GENERATORTESTMODELS_H_
#define TESTS_GENERATOR_GENERATORTESTMODELS_H_

// Small models for the generator's tests, built the way generated models are:
// an atomic SAN with places, nested activity classes (one object per
// activity, or per case with a PostselectGroup over the cases) and arcs, and
// a reward model over it with one performance variable, "marking", the
// marking of the net's first place, with impulses on activities if asked.
// A net is described in a few lines:
//
//   TestPVModel model("net", {{"p", 0}},
//                     {exponential("up", 2.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
//                      exponential("down", 1.0).when([](Marks m) { return m[0] > 0; })
//                          .fires([](Marks m) { m[0]--; })});

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/ImpulseNodeClass.h"
#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "Cpp/BaseClasses/PerformanceVariableWorker.h"
#include "Cpp/BaseClasses/PostselectGroup.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/SingleGroup.h"
#include "Cpp/BaseClasses/state/Place.h"
#include "generator/StateSpaceGen.h"
#include "tests/TestFiles.h"

namespace ssg_test {

// The markings of a net's places by place index, read and written through
// an activity's cached marking pointers.
class Marks {
 public:
  explicit Marks(short* const* marks) : marks(marks) {}
  short& operator[](int place) const { return *marks[place]; }

 private:
  short* const* marks;
};

using Predicate = std::function<bool(Marks)>;
using Effect = std::function<void(Marks)>;

// Enabled while place holds value.
inline Predicate markingIs(int place, short value) {
  return [=](Marks m) { return m[place] == value; };
}
// Sets place to value.
inline Effect setMarking(int place, short value) {
  return [=](Marks m) { m[place] = value; };
}

// One activity: distribution, rate (the delay of a deterministic activity),
// enabling predicate (always enabled by default), rank, Erlang phases and
// cases, each a weight and a firing effect. A single case makes an activity
// without cases whose weight is that case's; none, one of weight 1 that
// changes nothing.
struct ActivityDef {
  std::string name;
  Distribution distribution;
  double rate;
  Predicate enabled = [](Marks) { return true; };
  int rank = 1;
  double phases = 1.0;
  std::vector<std::pair<double, Effect>> cases;

  ActivityDef(const char* name, Distribution distribution, double rate)
      : name(name), distribution(distribution), rate(rate) {}
  ActivityDef& when(Predicate predicate) {
    enabled = std::move(predicate);
    return *this;
  }
  ActivityDef& fires(Effect effect, double weight = 1.0) {
    cases.emplace_back(weight, std::move(effect));
    return *this;
  }
  ActivityDef& withRank(int r) {
    rank = r;
    return *this;
  }
};

inline ActivityDef exponential(const char* name, double rate) {
  return ActivityDef(name, Exponential, rate);
}
inline ActivityDef deterministic(const char* name, double delay) {
  return ActivityDef(name, Deterministic, delay);
}
inline ActivityDef instantaneous(const char* name) { return ActivityDef(name, Instantaneous, 0.0); }
inline ActivityDef erlang(const char* name, double rate, double phases) {
  ActivityDef def(name, Erlang, rate);
  def.phases = phases;
  return def;
}

// An atomic SAN in the generated layout. Every activity has an affect and an
// enable arc to every place, so that the reward follows each firing.
class TestSAN : public SANModel {
 public:
  // Serves every activity and case: the generated overrides answer from the
  // description.
  class TestActivity : public Activity {
   public:
    std::vector<Place*> places;
    std::vector<short*> marks;  // one per place, bound by LinkVariables

    TestActivity(const ActivityDef& def, size_t caseIndex, int groupIndex, int numPlaces)
        : def(def), caseIndex(caseIndex) {
      if (this->def.cases.empty()) {
        this->def.cases.emplace_back(1.0, [](Marks) {});
      }
      const std::string name =
          def.cases.size() > 1 ? def.name + "_case" + std::to_string(caseIndex + 1) : def.name;
      ActivityInitialize(name.c_str(), groupIndex, def.distribution, RaceEnabled, numPlaces,
                         numPlaces, false);
    }
    bool Enabled() override {
      OldEnabled = NewEnabled;
      NewEnabled = def.enabled(Marks(marks.data()));
      return NewEnabled;
    }
    double Rate() override { return def.distribution == Deterministic ? 0.0 : def.rate; }
    double Weight() override { return def.cases[caseIndex].first; }
    int Rank() override { return def.rank; }
    double ErlangParamM() override { return def.phases; }
    double* ReturnDistributionParameters() override {
      parameters[0] = def.rate;
      return parameters;
    }
    BaseActionClass* Fire() override {
      def.cases[caseIndex].second(Marks(marks.data()));
      return this;
    }
    void LinkVariables() override {
      marks.assign(places.size(), nullptr);
      for (size_t i = 0; i < places.size(); i++) {
        places[i]->addHolder(&marks[i]);
      }
    }

   private:
    ActivityDef def;
    size_t caseIndex;
    double parameters[1];
  };

  // In the generated order: activities, groups, places, the model, the
  // activities' places, arcs, linking.
  TestSAN(const char* name, const std::vector<std::pair<const char*, short>>& placeDefs,
          const std::vector<ActivityDef>& activityDefs) {
    const int numPlaces = static_cast<int>(placeDefs.size());
    std::vector<Activity*> activityArray;
    std::vector<BaseGroupClass*> groupArray;
    for (const ActivityDef& def : activityDefs) {
      const int group = static_cast<int>(groupArray.size());
      const size_t firstCase = activities.size();
      for (size_t c = 0; c < std::max<size_t>(def.cases.size(), 1); c++) {
        activities.emplace_back(new TestActivity(def, c, group, numPlaces));
        activityArray.push_back(activities.back().get());
      }
      if (def.cases.size() > 1) {
        caseGroups.emplace_back(new PostselectGroup());
        caseGroups.back()->initialize(static_cast<int>(def.cases.size()),
                                      (def.name + "Group").c_str());
        for (size_t c = firstCase; c < activities.size(); c++) {
          caseGroups.back()->appendGroup(activities[c].get());
        }
        groupArray.push_back(caseGroups.back().get());
      } else {
        groupArray.push_back(activities.back().get());
      }
    }
    std::vector<BaseStateVariableClass*> placeArray;
    for (const auto& def : placeDefs) {
      places.emplace_back(new Place(def.first, def.second));
      placeArray.push_back(places.back().get());
    }
    initializeSANModelNow(name, numPlaces, placeArray.data(), 0, nullptr,
                          static_cast<int>(activityArray.size()), activityArray.data(),
                          static_cast<int>(groupArray.size()), groupArray.data());
    for (auto& activity : activities) {
      for (auto& place : places) {
        activity->places.push_back(place.get());
        AddAffectArc(place.get(), activity.get());
        AddEnableArc(place.get(), activity.get());
      }
      activity->LinkVariables();
    }
  }
  ~TestSAN() override {
    places.clear();
    caseGroups.clear();
    activities.clear();
  }

  std::vector<std::unique_ptr<Place>> places;
  std::vector<std::unique_ptr<TestActivity>> activities;
  EmptyGroup ImmediateGroup;
  std::vector<std::unique_ptr<PostselectGroup>> caseGroups;
};

// Worker of "marking": the marking of the first place of its net.
class MarkingPV0Worker : public InstantOfTime {
 public:
  BaseModelClass* net = nullptr;

  MarkingPV0Worker() {
    NumModelRefs = 1;
    ModelRefs = new BaseModelClass**[1];
    ModelRefs[0] = &net;
  }
  double Reward_Function() override { return static_cast<TestSAN*>(net)->places[0]->getMark(); }
};

// An impulse of "marking": a fixed amount earned whenever its activity fires.
class MarkingImpulse : public ImpulseNodeClass {
 public:
  BaseModelClass* net = nullptr;

  explicit MarkingImpulse(double amount) : amount(amount) {
    NumModelDependencies = 1;
    NumModelRefs = 1;
    ModelRefs = new BaseModelClass**[1];
    ModelRefs[0] = &net;
  }
  void EvaluateImpulse() override { Value = amount; }
  ImpulseNodeClass** CreateImpulseWorkers(int n) override {
    ImpulseNodeClass** workers = new ImpulseNodeClass*[n];
    for (int w = 0; w < n; w++) {
      workers[w] = new MarkingImpulse(amount);
    }
    return workers;
  }

 private:
  double amount;
};

// An impulse reward: the activity (or case, as <activity>_case<n>) that
// earns it and the amount.
struct ImpulseDef {
  const char* activity = nullptr;
  double amount = 0.0;
};

// The performance variable "marking", read at time 1.
class MarkingPV0 : public PerformanceVariableNode {
 public:
  BaseModelClass* TheModelPtr = nullptr;

  MarkingPV0(int timeIndex, const char* netName, const char* placeName,
             const std::vector<ImpulseDef>& impulseDefs) {
    TopModelRef = &TheModelPtr;
    const double times[] = {1.0};
    Initialize("marking", InstantOfTimeType, 1, times, times, timeIndex,
               static_cast<int>(impulseDefs.size()), 1, 1);
    AddVariableDependency(placeName, netName);
    for (const ImpulseDef& def : impulseDefs) {
      impulses.push_back(std::make_unique<MarkingImpulse>(def.amount));
      AddImpulse(def.activity, netName, impulses.back().get());
    }
  }
  void CreateWorkerList() override {
    for (int w = 0; w < NumWorkers; w++) {
      Workers[w] = new MarkingPV0Worker();
    }
  }

  // The prototypes of the impulses' workers.
  std::vector<std::unique_ptr<MarkingImpulse>> impulses;
};

// The reward model over a TestSAN, which it owns. A net without places gets
// no performance variable.
class TestPVModel : public PVModel {
 public:
  TestPVModel(const char* name, const std::vector<std::pair<const char*, short>>& placeDefs,
              const std::vector<ActivityDef>& activityDefs,
              std::vector<ImpulseDef> impulses = {})
      : impulses(std::move(impulses)) {
    net = new TestSAN(name, placeDefs, activityDefs);
    ChildModel = net;
    DefineName("TestPVModel");
    CreatePVList(net->places.empty() ? 0 : 1, false);
    Initialize();
  }
  PerformanceVariableNode* createPVNode(int pv, int timeIndex) override {
    return pv == 0 ? new MarkingPV0(timeIndex, net->Name, net->places[0]->Name, impulses)
                   : nullptr;
  }

  TestSAN* net;  // the child model
  std::vector<ImpulseDef> impulses;
};

// Runs the generator over model as the entry point does (trace level 0,
// load factor 0.5), writing prefix + "m.arm" and the other files.
inline void runGenerator(PVModel* model, const std::string& prefix, short absorb = 0) {
  StateSpaceGen generator(model, prefix.c_str(), "m", absorb, 0.5, nullptr, nullptr, nullptr);
  generator.SetTraceLevel(0);
  generator.InitializeTrace();
  generator.GenStateSpace();
}

// The same, returning what the run printed; standard output's number format,
// which the run switches, is restored.
inline std::string generate(PVModel* model, const std::string& prefix, short absorb = 0) {
  const std::ios::fmtflags flags = std::cout.flags();
  testing::internal::CaptureStdout();
  runGenerator(model, prefix, absorb);
  std::string out = testing::internal::GetCapturedStdout();
  std::cout.flags(flags);
  return out;
}

// Inside a death test: sends standard output to standard error, so that the
// generator's model checks (printed on standard output) can be matched.
inline void stdoutToStderr() {
  std::fflush(stdout);
  dup2(STDERR_FILENO, STDOUT_FILENO);
}

// A test that runs the generator over its models, writing the files of the
// experiment "m" into a scratch directory.
class GeneratorRunTest : public testing::Test {
 protected:
  // Runs model and returns what the run printed.
  std::string run(TestPVModel& model, short absorb = 0) {
    return generate(&model, dir.prefix(), absorb);
  }
  // Runs model in a death test; standard output goes to standard error.
  void runToDeath(TestPVModel& model) {
    stdoutToStderr();
    runGenerator(&model, dir.prefix());
  }

  test_files::ScratchDir dir;
};

// A net whose timed activity start (from q = 0 to q = 1) is followed by the
// instantaneous "step", which counts c up to length one firing at a time.
inline TestPVModel* chainOf(ActivityDef start, short length) {
  return new TestPVModel("chain", {{"q", 0}, {"c", 0}},
                         {start.when(markingIs(0, 0)).fires(setMarking(0, 1)),
                          instantaneous("step")
                              .when([length](Marks m) { return m[0] == 1 && m[1] < length; })
                              .fires([](Marks m) { m[1]++; })});
}

// A net whose timed activity start (from q = 0 to q = 1) is followed by
// two choices in a row between instantaneous cases: "first" sets a to 1 or
// 2 (weights 1 and 1), then "second" sets b to 1 or 2 (weights 1 and 3).
// The stable states (q = 3) are reached with the products 1/8, 3/8, 1/8
// and 3/8, in that order.
inline TestPVModel* twoChoicesAfter(ActivityDef start, std::vector<ImpulseDef> impulses = {}) {
  auto choose = [](int place, short value) {
    return [=](Marks m) {
      m[0]++;
      m[place] = value;
    };
  };
  return new TestPVModel("choices", {{"q", 0}, {"a", 0}, {"b", 0}},
                         {start.when(markingIs(0, 0)).fires(setMarking(0, 1)),
                          instantaneous("first")
                              .when(markingIs(0, 1))
                              .fires(choose(1, 1), 1.0)
                              .fires(choose(1, 2), 1.0),
                          instantaneous("second")
                              .when(markingIs(0, 2))
                              .fires(choose(2, 1), 1.0)
                              .fires(choose(2, 2), 3.0)},
                         std::move(impulses));
}

}  // namespace ssg_test

#endif
