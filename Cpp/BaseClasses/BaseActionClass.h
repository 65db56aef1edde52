#ifndef BASEACTIONCLASS_H_
#define BASEACTIONCLASS_H_

#include <iostream>
#include <vector>

#include "Cpp/BaseClasses/FastSet.h"
#include "Cpp/BaseClasses/List.h"

class BaseModelClass;
class BaseStateVariableClass;
class Place;

// Firing-time distribution of an action. The state-space generator handles
// Exponential, Deterministic, Erlang and Instantaneous and refuses the others,
// which only a simulator would sample.
enum Distribution {
  Exponential = 1,
  Deterministic = 2,
  Uniform = 3,
  Geometric = 4,
  Weibull = 5,
  Normal = 6,
  Erlang = 7,
  Gamma = 8,
  Beta = 9,
  Binomial = 10,
  NegativeBinomial = 11,
  Triangular = 12,
  Lognormal = 13,
  HyperExponential = 14,
  HypoExponential = 15,
  ConditionalWeibull = 16,
  Pareto = 17,
  Instantaneous = 18
};

// How an action reacts to changes of its enabling; every action of this
// system races while enabled.
enum ExecutionPolicyType { RaceEnabled = 1 };

// Root of everything that can fire and change the marking: activities and
// groups of activities. Holds the arcs to the state variables, the Erlang
// phase counter and the reward model's per-action bookkeeping.
class BaseActionClass {
 public:
  // A place and the tokens it must hold for the action to be enabled.
  struct TokenNeed {
    Place* place;
    int tokens;
  };

  int GroupID;  // index of the action's group in the model's group table
  ExecutionPolicyType ExecutionPolicy;
  bool Disabled;  // dropped by its group's last weight distribution
  bool Reactivation;
  char* Name;  // owned
  bool Fired;
  Distribution DistributionType;
  BaseModelClass* OwnerModel;  // the atomic model holding the action; not owned
  FastSet AffectedNodesByImpulseReward;
  // The four arrays below have one entry per performance variable and are
  // null until allocated; the tables their entries point to belong to the
  // reward model.
  FastSet* PVImpulseIndices;
  int*** PVImpulseWorkers;      // per variable: per impulse, a list of worker indices
  int** PVImpulseWorkerCounts;  // per variable: per impulse, the length of that list
  FastSet* PVRateWorkers;
  FastSet AffectedNodes;
  FastSet AffectedNodesByRateReward;
  short Phase;  // Erlang phase counter, 1 to ErlangParamM()
  int ActionID;
  List<BaseStateVariableClass> AffectedSVs;  // leaf variables the action changes
  List<BaseStateVariableClass> EnablingSVs;  // leaf variables its enabling reads

  static int MaxID;  // source of ActionID

  BaseActionClass();
  BaseActionClass(const char* name, int groupId, Distribution distribution,
                  ExecutionPolicyType policy, int numAffectArcs, int numEnableArcs,
                  bool reactivation);
  // Releases Name and the sets and lists; the PV arrays are released by
  // DeallocatePVRateDS and DeallocatePVImpulseDS.
  virtual ~BaseActionClass();
  BaseActionClass(const BaseActionClass&) = delete;
  BaseActionClass& operator=(const BaseActionClass&) = delete;

  virtual bool isSync();
  virtual bool Enabled();
  virtual double Weight();
  virtual double Rate();
  virtual bool ReactivationPredicate();
  virtual bool ReactivationFunction();
  // A firing delay drawn from the action's distribution.
  virtual double SampleDistribution();
  // The action's distribution parameters, refreshed by the call; null when
  // it has none.
  virtual double* ReturnDistributionParameters();
  virtual void SetFired(int fired);
  // Changes the marking; returns the action that fired, or null.
  virtual BaseActionClass* Fire();
  // Priority among simultaneously enabled members or instantaneous actions.
  virtual int Rank();
  // True when the enabling changed since the previous evaluation.
  virtual bool EnablingChange();
  virtual bool IsAMember(BaseActionClass* action);
  // Case probability of action within this action; 1.0 for a plain action.
  virtual double Probability(BaseActionClass* action);
  virtual void printAffectedState(std::ostream* os);
  virtual void printEnablingState(std::ostream* os);
  // The action whose variables represent this one in traces.
  virtual BaseActionClass* getPrintedAction();
  // Number of Erlang phases.
  virtual double ErlangParamM();
  // Appends places that hold at least their tokens in every marking that
  // enables the action, and whose check Enabled() makes first, with no
  // side effect (its input arcs): in a marking that misses one, Enabled()
  // would return false having done nothing else, so it need not be asked.
  // An action that lists none is asked in every marking.
  virtual void EnablingNeeds(std::vector<TokenNeed>& needs);

  // Sets name, group, distribution, policy and reactivation; the arc counts
  // are accepted for the generated code's sake and not stored.
  void BaseActionClassInitialize(const char* name, int groupId, Distribution distribution,
                                 ExecutionPolicyType policy, int numAffectArcs, int numEnableArcs,
                                 bool reactivation);
  // Replaces Name with a copy of name and returns the copy.
  char* defineName(const char* name);
  void PrintInfo();

  // Arc registration: a leaf variable is listed itself, a structured one
  // registers its leaves.
  void addEnablingSV(BaseStateVariableClass* sv);
  void removeEnablingSV(BaseStateVariableClass* sv);
  void addAffectedSV(BaseStateVariableClass* sv);
  void removeAffectedSV(BaseStateVariableClass* sv);

  bool IsPVRateDSAllocated() const { return PVRateWorkers != nullptr; }
  bool IsPVImpulseDSAllocated() const { return PVImpulseIndices != nullptr; }
  // Allocates PVRateWorkers as numPVs empty sets; on failure exits with 1.
  void AllocatePVRateDS(int numPVs);
  // Allocates PVImpulseIndices (empty sets), PVImpulseWorkers and
  // PVImpulseWorkerCounts (null entries) for numPVs variables; on failure
  // exits with 1.
  void AllocatePVImpulseDS(int numPVs);
  void DeallocatePVRateDS();
  void DeallocatePVImpulseDS();

  void ResetPhase() { Phase = 1; }
  void Age() { Phase += 1; }
  // True when the Erlang phase counter has reached the last phase.
  bool ReadyToFire() { return static_cast<double>(Phase) == ErlangParamM(); }
};

#endif
