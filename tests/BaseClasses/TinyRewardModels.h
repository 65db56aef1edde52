#ifndef TINYREWARDMODELS_H_
#define TINYREWARDMODELS_H_

// Small hand-written models for the reward machinery's tests: atomic models
// with named places and counting actions, a composition of them, and a
// performance variable whose workers and impulses record what they were
// linked to.

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/BaseModelClass.h"
#include "Cpp/BaseClasses/ImpulseNodeClass.h"
#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "Cpp/BaseClasses/PerformanceVariableWorker.h"
#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"
#include "Cpp/Composer/Join.h"

namespace tiny {

// A place holding a short, written as 2 bytes.
class Place : public BaseStateVariableClass {
 public:
  Place(const char* name, short mark) : BaseStateVariableClass(name, ""), Mark(mark) {}
  int StateSize() override { return 2; }
  void SetState(void* buf) override { std::memcpy(&Mark, buf, 2); }
  void CurrentState(void* buf) override { std::memcpy(buf, &Mark, 2); }
  void share(BaseStateVariableClass*) override {}
  short Mark;
};

// Adds Delta to its place when fired.
class Action : public BaseActionClass {
 public:
  Action(const char* name, Place* target, short delta) : Target(target), Delta(delta) {
    defineName(name);
  }
  BaseActionClass* Fire() override {
    Target->Mark = static_cast<short>(Target->Mark + Delta);
    return this;
  }
  Place* Target;
  short Delta;
};

// An atomic model: places and actions, each action affecting one place.
class Model : public BaseModelClass {
 public:
  explicit Model(const char* name) { DefineName(name); }
  Place* AddPlace(const char* name, short mark = 0) {
    places.push_back(std::make_unique<Place>(name, mark));
    NumStateVariables = static_cast<int>(places.size());
    return places.back().get();
  }
  Action* AddAction(const char* name, Place* target, short delta = 1) {
    actions.push_back(std::make_unique<Action>(name, target, delta));
    AddAffectArc(target, actions.back().get());
    actionPtrs.push_back(actions.back().get());
    Actions = actionPtrs.data();
    NumActions = static_cast<int>(actionPtrs.size());
    return actions.back().get();
  }
  Place* place(const char* name) {
    for (auto& p : places) {
      if (std::strcmp(p->Name, name) == 0) {
        return p.get();
      }
    }
    return nullptr;
  }

  void listModels(const char* name, List<BaseModelClass>* out) override {
    if (std::strcmp(Name, name) == 0) {
      out->append(this);
    }
  }
  void CurrentState(void* buf) override {
    for (size_t i = 0; i < places.size(); i++) {
      places[i]->CurrentState(static_cast<char*>(buf) + 2 * i);
    }
  }
  void SetState(void* buf) override {
    for (size_t i = 0; i < places.size(); i++) {
      places[i]->SetState(static_cast<char*>(buf) + 2 * i);
    }
  }
  int StateSize() override { return 2 * static_cast<int>(places.size()); }
  bool CompareState(void* a, void* b) override { return std::memcmp(a, b, StateSize()) == 0; }
  void listActions(List<BaseActionClass>* out) override { out->append(Actions, NumActions); }
  void listGroups(List<BaseGroupClass>*) override {}
  void listActions(const char* name, List<BaseActionClass>* out) override {
    for (auto& a : actions) {
      if (std::strcmp(a->Name, name) == 0) {
        out->append(a.get());
        return;
      }
    }
  }
  void listSVs(const char* modelName, const char* svName, List<BaseStateVariableClass>* svs,
               List<BaseModelClass>* models) override {
    if (std::strcmp(Name, modelName) != 0) {
      return;
    }
    for (auto& p : places) {
      if (std::strcmp(p->Name, svName) == 0) {
        svs->append(p.get());
        models->append(this);
      }
    }
  }

 private:
  std::vector<std::unique_ptr<Place>> places;
  std::vector<std::unique_ptr<Action>> actions;
  std::vector<BaseActionClass*> actionPtrs;
};

// Children side by side under the framework's join, without shared
// places; owns them.
class Join : public ::Join {
 public:
  explicit Join(std::vector<Model*> children)
      : ::Join("Join", static_cast<int>(children.size()), 0, nullptr), children(children) {
    for (size_t i = 0; i < children.size(); i++) {
      Children[i] = children[i];
    }
    SetupActions();
    Setup();
  }
  ~Join() override {
    for (Model* child : children) {
      delete child;
    }
  }
  std::vector<Model*> children;
};

// Mark of place name in model m (a tiny::Model), 0 when m or the place is
// missing.
inline short markOf(BaseModelClass* m, const char* name) {
  Place* p = m == nullptr ? nullptr : static_cast<Model*>(m)->place(name);
  return p == nullptr ? 0 : p->Mark;
}

// Reward: the sum over its models of the mark of the place named Watched.
class Worker : public InstantOfTime {
 public:
  Worker(int numRefs, const char* watched) : Watched(watched) {
    NumModelRefs = numRefs;
    ModelRefs = new BaseModelClass**[numRefs];
    for (int d = 0; d < numRefs; d++) {
      ModelRefs[d] = &Models[d];
    }
  }
  double Reward_Function() override {
    double sum = 0.0;
    for (int d = 0; d < NumModelRefs; d++) {
      sum += markOf(Models[d], Watched);
    }
    return sum;
  }
  BaseModelClass* Models[3] = {nullptr, nullptr, nullptr};
  const char* Watched;
};

// Impulse: the worker's index + 1, so a sum names the workers evaluated.
class Impulse : public ImpulseNodeClass {
 public:
  explicit Impulse(int numModelDependencies) {
    NumModelDependencies = numModelDependencies;
    NumModelRefs = numModelDependencies;
    ModelRefs = new BaseModelClass**[numModelDependencies];
    for (int d = 0; d < numModelDependencies; d++) {
      ModelRefs[d] = &Models[d];
    }
  }
  void EvaluateImpulse() override { Value = Index + 1.0; }
  ImpulseNodeClass** CreateImpulseWorkers(int n) override {
    ImpulseNodeClass** workers = new ImpulseNodeClass*[n];
    for (int w = 0; w < n; w++) {
      workers[w] = new Impulse(NumModelDependencies);
    }
    return workers;
  }
  BaseModelClass* Models[3] = {nullptr, nullptr, nullptr};
};

// A performance variable whose workers watch the place Watched of each of
// their models. The impulse prototypes are its own.
class Node : public PerformanceVariableNode {
 public:
  Node(const char* name, int impulses, int modelDeps, int varDeps, const char* watched = "p",
       int timeIndex = 0, int numTimes = 1, const double* times = kTimes)
      : Watched(watched) {
    TopModelRef = &Top;
    Initialize(name, InstantOfTimeType, numTimes, times, times, timeIndex, impulses, modelDeps,
               varDeps);
  }
  void CreateWorkerList() override {
    for (int w = 0; w < NumWorkers; w++) {
      Workers[w] = new Worker(NumModelDependencies, Watched);
    }
  }
  Worker* worker(int w) { return static_cast<Worker*>(Workers[w]); }
  Impulse* AddOwnImpulse(int numModelDependencies) {
    prototypes.push_back(std::make_unique<Impulse>(numModelDependencies));
    return prototypes.back().get();
  }

  static constexpr double kTimes[3] = {365.0, 400.0, 0.5};
  BaseModelClass* Top = nullptr;
  const char* Watched;

 private:
  std::vector<std::unique_ptr<Impulse>> prototypes;
};

// A reward model over child whose nodes come from factory.
class RewardModel : public PVModel {
 public:
  using Factory = std::function<PerformanceVariableNode*(int, int)>;
  RewardModel(BaseModelClass* child, int numPVs, bool expand, Factory factory)
      : factory(std::move(factory)) {
    ChildModel = child;
    DefineName("tinyPVModel");
    CreatePVList(numPVs, expand);
    Initialize();
  }
  PerformanceVariableNode* createPVNode(int pv, int timeIndex) override {
    return factory(pv, timeIndex);
  }
 private:
  Factory factory;
};

}  // namespace tiny

#endif
