#ifndef COMPILER_MODEL_H_
#define COMPILER_MODEL_H_

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "compiler/Ast.h"
#include "compiler/runtime/SanRuntime.h"

// A checked model description: the syntax tree with every name resolved, in
// the form the code generator needs. The pointers point into the syntax tree
// the Model owns.
namespace sanc {

// The largest number of copies of a repeated child; it bounds what a short
// description can cost to build.
constexpr long kMaxCopies = sanc_runtime::kMaxCopies;
// The largest number of experiments of a study.
constexpr long kMaxExperiments = 10000;
// The largest number of places of a place array.
constexpr long kMaxArraySize = 1000;

// One generated activity class: an activity without cases, or one case.
struct Action {
  const ActivityDecl* activity = nullptr;
  const CaseDecl* caseDecl = nullptr;  // null for an activity without cases
  int caseNumber = 0;                  // from 1; 0 without cases
  int group = 0;                       // index in the model's group table
  std::string member;                  // member and action name: seu_case1
  std::string className;               // seuActivity_case1
  std::vector<int> touched;            // every place it reads or writes, in field order
  std::vector<int> enabling;           // places its enabling reads
  std::vector<int> affected;           // places its firing changes
};

// An entry of a model's group table: an activity without cases stands for
// itself; the cases of an activity form a case group.
struct Group {
  int firstAction = 0;
  int numActions = 1;
  bool isCaseGroup = false;
  std::string member;  // the activity's member, or the case group's: seuGroup
};

// The size of an array of places whose size is computed when the model is
// built, in Atomic::placeSizes and Share::size.
constexpr int kBuiltSize = -1;

struct Atomic {
  const AtomicDecl* decl = nullptr;
  // Of each place: its array's size, 0 for one place, kBuiltSize for an
  // array sized by an expression, whose C++ is then in placeSizeCode.
  std::vector<int> placeSizes;
  std::vector<std::string> placeSizeCode;
  std::vector<Action> actions;
  std::vector<Group> groups;
  // The formulas its C++ code may read: its own, then the file's.
  std::vector<const FormulaDecl*> formulas;

  const std::string& name() const { return decl->name.text; }
  // Index of the place called name, or -1.
  int placeIndex(const std::string& name) const;
  // Index of the activity called name, or -1.
  int activityIndex(const std::string& name) const;
  // Its places (each of an array) and activity instances (each case, each
  // member of a family); nullopt when an array's size or a family's bounds
  // are known only when the model is built.
  std::optional<sanc_runtime::Expansion> expansion() const;
};

enum class ModelKind { Atomic, Join };

// A reference to a model type: an atomic model or a join.
struct ModelRef {
  ModelKind kind = ModelKind::Atomic;
  int index = 0;
};

struct Child {
  const ChildDecl* decl = nullptr;
  ModelRef model;

  const std::string& instance() const { return decl->instance.text; }
};

// A place of a child bound to a shared place of the join: a place of an
// atomic child, or a shared place of a child join.
struct ShareMember {
  int child = 0;
  std::string place;
};

struct Share {
  std::string name;
  int size = 0;                      // the arrays' size, 0 for places, kBuiltSize as for places
  std::string sizeCode;              // the C++ of a kBuiltSize
  std::vector<ShareMember> members;  // in child order
};

struct Join {
  const JoinDecl* decl = nullptr;
  std::vector<Child> children;
  std::vector<Share> shares;

  const std::string& name() const { return decl->name.text; }
  // The places the join adds to its children's (each of an array); nullopt
  // when an array's size is known only when the model is built.
  std::optional<long> sharedPlaces() const;
};

// The instances of one atomic model that a reward reads, by instance name.
struct RewardModelUse {
  std::string instance;
  int atomic = 0;
  std::vector<std::string> places;  // the places the reward reads, first use first
};

struct Impulse {
  const ImpulseDecl* decl = nullptr;
  std::string instance;
  int atomic = 0;
  std::vector<std::string> actions;  // the action names that earn it (one per case)
  std::vector<std::string> places;   // the places of the instance its value reads
};

// The shared places of a join that a reward reads (join.place): read in the
// first child that shares them, once per copy of the join.
struct JoinRead {
  std::string join;            // the join's instance name
  std::string representative;  // the atomic instance they are read in
  int atomic = 0;
  bool repeated = false;  // the representative is one copy of several: copy 0 reads
  std::vector<std::pair<std::string, std::string>> places;  // shared name, its place there
};

struct Reward {
  const RewardDecl* decl = nullptr;
  std::vector<RewardModelUse> models;  // those its rate reward or condition reads, first use first
  std::vector<JoinRead> joins;
  std::vector<Impulse> impulses;
};

struct Study {
  std::string name;
  bool isRange = true;
  int numExperiments = 1;
  // For each global variable, its C++ literal in every experiment.
  std::vector<std::vector<std::string>> values;
};

struct Model {
  std::unique_ptr<ModelFile> file;        // with the atomic models it imports
  std::vector<std::string> files;         // the description, then the files it imports from
  std::vector<std::string> globalValues;  // each global's default, as a C++ literal
  std::vector<Atomic> atomics;
  std::vector<Join> joins;
  ModelRef root;
  std::map<std::string, int> joinInstances;  // instance name of every join in the tree
  std::string rewardName;
  std::vector<Reward> rewards;
  Study study;

  const std::string& rootName() const;
};

const char* typeName(ValueType type);

// The place an arc joins as a modeller writes it: p, q[2], q[k + 1].
std::string arcPlaceName(const Arc& arc);

// The index of an arc on an array of places when it is constant.
std::optional<long> constantIndex(const Arc& arc);

}  // namespace sanc

#endif
