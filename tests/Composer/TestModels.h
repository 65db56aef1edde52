#ifndef TESTS_COMPOSER_TESTMODELS_H_
#define TESTS_COMPOSER_TESTMODELS_H_

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/state/Place.h"
#include "Cpp/Composer/Join.h"

namespace composer_test {

// An activity that reads and writes its place through a cached marking
// pointer, as generated activities do: enabled while the marking is
// positive, firing sets it to 5.
class CachingActivity : public Activity {
 public:
  Place* place = nullptr;
  short* mark = nullptr;

  explicit CachingActivity(const char* name) {
    ActivityInitialize(name, 0, Exponential, RaceEnabled, 1, 1, false);
  }
  bool Enabled() override {
    OldEnabled = NewEnabled;
    NewEnabled = place != nullptr && *mark > 0;
    return NewEnabled;
  }
  BaseActionClass* Fire() override {
    *mark = 5;
    return this;
  }
  void LinkVariables() override {
    if (place != nullptr) {
      place->addHolder(&mark);
    }
  }
};

// An atomic model built like a generated one: the places in the given order,
// then the other state variables given (which it takes over), and one
// activity per name, each its own group, reading and changing the first
// place (if there is one).
class TestSAN : public SANModel {
 public:
  std::vector<std::unique_ptr<Place>> places;
  std::vector<std::unique_ptr<BaseStateVariableClass>> variables;
  std::vector<std::unique_ptr<CachingActivity>> activities;

  TestSAN(const char* name, const std::vector<std::pair<const char*, short>>& placeMarks,
          const std::vector<const char*>& activityNames = {},
          const std::vector<BaseStateVariableClass*>& others = {}) {
    std::vector<BaseStateVariableClass*> placeArray;
    for (const auto& entry : placeMarks) {
      places.emplace_back(new Place(entry.first, entry.second));
      placeArray.push_back(places.back().get());
    }
    for (BaseStateVariableClass* variable : others) {
      variables.emplace_back(variable);
      placeArray.push_back(variable);
    }
    std::vector<Activity*> activityArray;
    std::vector<BaseGroupClass*> groupArray;
    for (const char* activityName : activityNames) {
      activities.emplace_back(new CachingActivity(activityName));
      activityArray.push_back(activities.back().get());
      groupArray.push_back(activities.back().get());
    }
    initializeSANModelNow(name, static_cast<int>(placeArray.size()), placeArray.data(), 0, nullptr,
                          static_cast<int>(activityArray.size()), activityArray.data(),
                          static_cast<int>(groupArray.size()), groupArray.data());
    for (auto& activity : activities) {
      if (!places.empty()) {
        activity->place = places[0].get();
        AddAffectArc(activity->place, activity.get());
        AddEnableArc(activity->place, activity.get());
      }
      activity->LinkVariables();
    }
  }

  Place* place(const char* name) {
    for (auto& p : places) {
      if (std::strcmp(p->Name, name) == 0) {
        return p.get();
      }
    }
    return nullptr;
  }
};

// The variable a child offers for a shared name: an atomic model's place of
// that name, or a join's own shared variable of that name.
inline BaseStateVariableClass* variableOf(BaseModelClass* child, const char* name) {
  if (child->GetModelType() == 2) {
    Join* join = static_cast<Join*>(child);
    for (int i = 0; i < join->AddedSharedPtrs; i++) {
      if (std::strcmp(join->SharedStateNames[i], name) == 0) {
        return join->SharedPtrs[i];
      }
    }
    return nullptr;
  }
  return static_cast<TestSAN*>(child)->place(name);
}

// A join built in the order of a generated one; it owns its children and its
// shared places.
class TestJoin : public Join {
 public:
  std::vector<std::unique_ptr<Place>> shared;

  TestJoin(const char* name, const std::vector<BaseModelClass*>& children,
           const std::vector<const char*>& sharedNames)
      : Join(name, static_cast<int>(children.size()), static_cast<int>(sharedNames.size()),
             sharedNames.data()) {
    for (int i = 0; i < NumChildren; i++) {
      Children[i] = children[i];
    }
    SetupActions();
    if (AllChildrenEmpty()) {
      NumSharedStateVariables = 0;
    } else {
      for (int j = 0; j < NumSharedStateVariables; j++) {
        shareName(sharedNames[j]);
      }
    }
    Setup();
  }
  ~TestJoin() override {
    shared.clear();
    for (int i = 0; i < NumChildren; i++) {
      delete Children[i];
    }
  }

 private:
  void shareName(const char* name) {
    shared.emplace_back(new Place(name));
    Place* variable = shared.back().get();
    addSharedPtr(variable, name);
    for (int i = 0; i < NumChildren; i++) {
      if (Children[i]->NumStateVariables > 0) {
        BaseStateVariableClass* childVariable = variableOf(Children[i], name);
        variable->share(childVariable);
        addSharingInfo(childVariable, variable, Children[i]);
      }
    }
  }
};

}  // namespace composer_test

#endif
