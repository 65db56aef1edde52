#ifndef PERFORMANCEVARIABLENODE_H_
#define PERFORMANCEVARIABLENODE_H_

class BaseActionClass;
class BaseModelClass;
class ImpulseNodeClass;
class PerformanceVariableWorker;

// Kind of a performance variable, written as a number to the type file.
// The long run and the mean time to a condition have no time points. The
// two condition kinds have a rate reward of 1 where the condition holds
// (for at least one combination of the instances it reads) and 0
// elsewhere; the other kinds' rewards do not depend on the kind.
enum RewardType : int {
  InstantOfTimeType = 0,         // the expected rate reward at each time point
  IntervalOfTimeType = 1,        // the reward accumulated over each [start, stop]
  TimeAveragedIntervalType = 2,  // the same divided by stop - start
  SteadyStateType = 3,           // the long-run value
  MeanTimeToConditionType = 4,   // the expected time until the condition first holds
  ConditionByTimeType = 5        // the probability that it has held by each time point
};

// The model instances one worker evaluates against, one per model
// dependency of its node.
class ModelGroupClass {
 public:
  BaseModelClass** Models;  // owned array; the models are not owned
  int NumModels;

  ModelGroupClass();
  ~ModelGroupClass();
  ModelGroupClass(const ModelGroupClass&) = delete;
  ModelGroupClass& operator=(const ModelGroupClass&) = delete;

  // Makes room for n models, all null.
  void CreateModelList(int n);
  void SetModel(int i, BaseModelClass* model) { Models[i] = model; }
  // True when model is one of the slots.
  bool IsDependentOnModel(const BaseModelClass* model) const;
};

// A state variable, named by its model and its own name, that a reward
// function reads.
class VarModelPairClass {
 public:
  char* ModelName;     // owned (strdup/free)
  char* VariableName;  // owned (strdup/free)

  VarModelPairClass();
  ~VarModelPairClass();
  VarModelPairClass(const VarModelPairClass&) = delete;
  VarModelPairClass& operator=(const VarModelPairClass&) = delete;

  // Note the order: the variable name first.
  void SetPair(const char* variableName, const char* modelName);
};

// An action, named by its model and its own name, whose firing earns an
// impulse.
class ActionModelPairClass {
 public:
  char* ModelName;   // owned (array new/delete)
  char* ActionName;  // owned (array new/delete)

  ActionModelPairClass();
  ~ActionModelPairClass();
  ActionModelPairClass(const ActionModelPairClass&) = delete;
  ActionModelPairClass& operator=(const ActionModelPairClass&) = delete;

  // Note the order: the action name first. Replaces previous names.
  void SetPair(const char* actionName, const char* modelName);
  void SetActionName(const char* actionName);
};

// One performance variable at one time point: its description (name, type,
// time points, the models and variables its reward function reads, its
// impulses) and its values in the current state. The rate reward is the sum
// over the workers, one per combination of the model instances it depends
// on; the impulse reward the sum over the impulse workers of the instance
// whose action fired. A generated subclass describes the variable in its
// constructor and supplies the workers (CreateWorkerList).
class PerformanceVariableNode {
 public:
  BaseModelClass** TopModelRef;  // the subclass's top-model member
  char* Name;                    // owned
  double RateReward;
  double StartTime;  // of this node's time point
  double StopTime;
  int NumTimePoints;
  double* StartTimes;  // owned, NumTimePoints entries
  double* StopTimes;   // owned, NumTimePoints entries
  double ImpulseReward;
  RewardType Type;
  int PVId;                            // index of the node in the reward model's list
  BaseActionClass** AffectingActions;  // owned array; filled by the reward model
  int NumAffectingActions;
  ModelGroupClass* ModelGroups;  // owned, NumWorkers entries
  int NumWorkers;
  PerformanceVariableWorker** Workers;      // owned, with the workers
  VarModelPairClass* VariableDependencies;  // owned
  int NumVariableDependencies;
  int NumImpulses;
  // The per-impulse arrays below have ImpulseCapacity entries (null when it
  // is 0) and are owned, with everything they point to except the
  // prototypes in Impulses, which belong to the subclass.
  int* NumImpulseModelDependencies;
  int* NumImpulseWorkers;
  int* NumImpulseModelInstances;
  ImpulseNodeClass** Impulses;
  ImpulseNodeClass*** ImpulseWorkers;
  ActionModelPairClass* ImpulseActions;
  char*** ImpulseModelDependencies;      // per impulse: model names (array new)
  ModelGroupClass** ImpulseModelGroups;  // per impulse: one group per impulse worker
  char** ModelDependencies;              // owned, names array new; without repeats
  int NumModelDependencies;

  static int the_id;  // source of PVId

  PerformanceVariableNode();
  virtual ~PerformanceVariableNode();
  PerformanceVariableNode(const PerformanceVariableNode&) = delete;
  PerformanceVariableNode& operator=(const PerformanceVariableNode&) = delete;

  // Creates NumWorkers workers of the subclass's worker class into Workers.
  virtual void CreateWorkerList() = 0;
  // Clears the values for a new batch of time-based evaluation.
  virtual void Reset();

  // Describes the variable: takes the next PVId, copies the name and time
  // points, selects time point timeIndex (0 for a kind without time points,
  // whose StartTime and StopTime stay -1) and makes room for the declared
  // numbers of impulses, model dependencies and variable dependencies.
  void Initialize(const char* name, RewardType type, int numTimePoints, const double* startTimes,
                  const double* stopTimes, int timeIndex, int impulseCapacity,
                  int modelDependencyCapacity, int variableDependencyCapacity);
  // Records that the reward function reads variableName of modelName.
  void AddVariableDependency(const char* variableName, const char* modelName);
  // Records that the reward function reads modelName.
  void AddModelDependency(const char* modelName);
  // Registers impulse (once), earned when actionName of modelName fires.
  void AddImpulse(const char* actionName, const char* modelName, ImpulseNodeClass* impulse);
  // Records that impulse reads modelName; an impulse never registered ends
  // the program (exit status 1) after naming the generator fault.
  void AddImpulseModelDependency(const char* modelName, ImpulseNodeClass* impulse);
  // Appends modelName to impulse number impulse's list, without checks.
  void AddImpulseModelDependency(const char* modelName, int impulse);
  // Replaces the action name of impulse number impulse; the second name is
  // not used.
  void AddImpulseActionDependency(const char* actionName, const char* unused, int impulse);
  // The index of impulse among Impulses, or -1.
  int GetImpulseNumber(const ImpulseNodeClass* impulse) const;
  bool IsDependentOnModel(const char* modelName) const;
  bool IsDependentOnImpulseModel(const char* modelName, int impulse) const;
  RewardType GetRewardType() const { return Type; }
  int GetNumTimePoints() const { return NumTimePoints; }
  double GetStartTime(int t) const { return StartTimes[t]; }
  double GetStopTime(int t) const { return StopTimes[t]; }

  // Linking, called by the reward model in this order.
  // Stores top as the subclass's top model and counts the workers and
  // impulse workers from the instances found under it.
  void FixReferences(BaseModelClass* top);
  // Gives worker w its instance combination: for dependency d, instance
  // (w / block) mod c, where c counts d's instances and block is the
  // product of the counts after d. A dependency without instances ends the
  // program (exit status 1).
  void CreateModelGroupList();
  // Names the workers and points their model members at their instances.
  void FixWorkerList();
  // Adds to action's rate-worker set of this node every worker that depends
  // on model.
  void AddPVWorkersToAction(BaseActionClass* action, BaseModelClass* model);
  // Gives each impulse worker its instance combination: the workers of an
  // impulse come in one block per instance of the impulse's own model.
  void CreateImpulseModelGroupList();
  void CreateImpulseWorkerLists();
  // Names the impulse workers, sets their own instance and points their
  // model members at their instances.
  void FixImpulseWorkerLists();

  // Evaluation.
  // Computes RateReward for the current marking (for a condition kind, 1
  // when a worker's condition holds, else 0) and ImpulseReward for the
  // firing of fired.
  void CurrentReward(BaseActionClass* fired);
  // The impulse the firing of fired earns in the current marking, without
  // changing RateReward or ImpulseReward.
  double ImpulseOf(BaseActionClass* fired);
  // True when firing action earns an impulse of this node.
  bool ImpulseAffectedBy(BaseActionClass* action) const;

 private:
  int VariableDependencyCapacity;
  int ModelDependencyCapacity;
  int ImpulseCapacity;

  void AllocateImpulseArrays(int capacity);
  void ReleaseImpulseArrays();
  BaseModelClass* TopModel() const { return *TopModelRef; }
  // Impulse i's workers per instance of its own model; they come in one
  // block per instance, in instance order.
  int ImpulseWorkersPerInstance(int i) const;
  // Gives the impulse workers of block r their instance combinations.
  void FillImpulseBlock(int i, int r, BaseModelClass* own);
};

#endif
