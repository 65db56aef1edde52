#ifndef STATESPACEGEN_H_
#define STATESPACEGEN_H_

#include <fstream>
#include <map>
#include <vector>

#include "Cpp/BaseClasses/List.h"
#include "generator/DeterministicList.h"
#include "generator/state_struct.h"

class BaseActionClass;
class BaseGroupClass;
class HybridHash;
class PVModel;
class Queue;
class ResultsDB;
class Reward;
class TraceFileContainer;
class TraceFileTavrelSSG;

// The state-space generator. Built on the reward model, it stores the
// initial state as state 1, chooses the exploration mode from the
// distributions of the model's actions, explores every stable state
// breadth-first and writes the state space (".arm"), the rewards (".var"),
// the reward types (".pvtype") and, with deterministic activities, their
// enabling records (".det"). Every output problem ends the run with a
// message on standard error and exit status 1.
class StateSpaceGen {
 public:
  // Sorts the actions by distribution, creates the state store and the
  // queue, and stores and queues the initial state as state 1. The model,
  // path and name are not owned; traceFileName (or null) is owned and
  // released with free. Exits with status 1 when the model has no state.
  StateSpaceGen(PVModel* model, const char* path, const char* name, short absorb, double loadFactor,
                const char* dbHost, const char* dbEntity, char* traceFileName);
  ~StateSpaceGen();
  StateSpaceGen(const StateSpaceGen&) = delete;
  StateSpaceGen& operator=(const StateSpaceGen&) = delete;

  void setHashValue(double loadFactor);
  // Prints "SSG: SetTraceLevel: <level>" and keeps the level for the traces.
  void SetTraceLevel(int level);
  // Creates the trace container and its writer (the trace file, or standard
  // output when no file was named).
  void InitializeTrace();
  // Runs the exploration once and reports the states and the time taken.
  void GenStateSpace();
  // Writes the reward types, chooses the mode and runs the exploration;
  // refuses unsupported models with exit status 1.
  void SetMethodPointers();

  // Explores with timed (exponential, Erlang) and instantaneous actions.
  void GenStateSpaceNormal(const char* armName, const char* varName);
  // Explores with deterministic, exponential and instantaneous actions.
  void GenStateSpaceDeterministic(const char* armName, const char* varName, const char* detName);

  // Explores one stable state: every enabled timed action, no zero-time chains.
  void FindNextNormal(char* state);
  // Explores one stable state, following zero-time chains after each firing.
  void FindNextInstant(char* state);
  // Explores one stable state in the deterministic mode.
  void FindNextDeterministic(char* state);
  // Fires one timed action in the model's current state (an Erlang action
  // not yet in its last phase ages instead); the reached state is in
  // NextState and its rate in CurrentRate. False when not enabled.
  bool FireAction(BaseActionClass* action, char* state);
  // Records a transition of the given rate to NextState, whose store lookup
  // gave index (-1 when new). Rates not above 0 record nothing.
  void SaveStableState(double rate, int index);
  // Resolves the state the model holds, reached with probability p after a
  // timed firing, into stable states (weights choose among instantaneous
  // actions).
  void FireInstant(double p);
  // The same in the deterministic mode (case probabilities choose).
  void FireInstantDet(double f);
  // Diagnostic: "STATEVECTOR=" and the vector's bytes.
  void printstate(char* state, int length);

  unsigned long CurrentStateNumber;
  std::map<unsigned int, double> TransitionRates;  // target number -> accumulated value
  unsigned int NumTimedActions;
  unsigned long StateCounter;  // highest number handed out
  unsigned int StateSize;
  unsigned int NumErlangActions;
  ResultsDB* Database;  // owned; null without a database host
  int DistributionMask;
  PVModel* Model;                          // not owned
  Reward* TheReward;                       // owned while exploring
  Queue* StateQueue;                       // owned
  HybridHash* StateStore;                  // owned
  BaseActionClass** InstantaneousActions;  // owned array, in model order
  BaseActionClass** TimedActions;          // owned array, in model order
  BaseActionClass** ErlangActions;         // owned array (also in TimedActions)
  List<BaseActionClass> ActionList;
  BaseActionClass** Actions;  // ActionList's array
  List<BaseGroupClass> GroupList;
  BaseGroupClass** Groups;  // GroupList's array, indexed by an action's GroupID
  state_struct* TempState;  // owned while exploring, with its buffer
  double CurrentRate;
  DeterministicList DeterministicRecords;
  char* NextState;             // owned while exploring
  const char* ExperimentPath;  // not owned
  const char* ExperimentName;  // not owned
  short FlagAbsorb;
  short OutputType;
  char* TraceFileName;           // owned (free)
  TraceFileContainer* Traces;    // owned
  TraceFileTavrelSSG* GenTrace;  // owned
  int GenTraceLevel;
  short InstantDepth;
  unsigned int NumInstantaneousActions;
  double LoadFactor;

 private:
  void classifyActions();
  void registerInitialState();
  bool initialStateStable();
  // path + name + suffix, as a new string the caller releases with delete[].
  char* outputName(const char* suffix) const;
  void allocateScratch();
  void releaseScratch();
  // Opens name for binary output, truncated; on failure prints message and
  // the file's name on standard error and exits with status 1.
  void openOutput(std::ofstream& out, const char* name, const char* message);
  // Ends the run when out could not be written completely.
  void checkWritten(std::ofstream& out, const char* name);
  // Ends the run when the reward file varName could not be written completely.
  void checkRewardsWritten(const char* varName);
  // Line 1 (the output type) and a count placeholder of width spaces.
  void writeHeader(std::ofstream& out, int width);
  // Writes the output type and count over the header's first characters.
  void rewriteCount(std::ofstream& out, unsigned long count);
  // The explored state's record: number, its targets with their values, 0.
  void writeRecord(std::ofstream& out);
  void printProgress(unsigned long number);
  // Stores, queues and numbers NextState, then writes its rewards.
  unsigned long numberNewState();
  void addValue(unsigned long target, double value);
  // The instantaneous actions enabled in the current marking, in model order.
  std::vector<BaseActionClass*> enabledInstantaneous();
  // Among several enabled instantaneous actions, those of the highest rank.
  static std::vector<BaseActionClass*> highestRanked(const std::vector<BaseActionClass*>& enabled);
  // Loads the model's current state back into it, so that every place reads
  // its stored value again before the next enabling checks.
  void refreshModel();
  // Ends the run when a probability or rate is negative, infinite or NaN.
  void checkValue(double value, BaseActionClass* action, const char* what);
  double caseProbability(BaseActionClass* action);
};

// The per-state exploration of the normal mode: FindNextNormal or
// FindNextInstant.
extern void (StateSpaceGen::*FindNext)(char*);

// Debug level of the deterministic exploration; reset when it ends.
extern int GlobalDebugLevel;

#endif
