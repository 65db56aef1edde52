#ifndef STATESPACEGEN_H_
#define STATESPACEGEN_H_

#include <ctime>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Cpp/BaseClasses/List.h"
#include "generator/DeterministicList.h"
#include "generator/ReachedStates.h"
#include "generator/state_struct.h"

class BaseActionClass;
class BaseGroupClass;
class DeterministicFirings;
class EnablingIndex;
class HybridHash;
class ImpulseRewards;
class OutputFile;
class OutputSet;
class PVModel;
class Queue;
class ResultsDB;
class Reward;
class StateMarkings;
class TraceFileContainer;
class TraceFileTavrelSSG;

// The state-space generator. Built on the reward model, it stores the
// initial state as state 1, chooses the exploration mode from the
// distributions of the model's actions, explores every stable state
// breadth-first and writes the state space (".arm"), the rewards (".var"),
// the reward types (".pvtype"), with deterministic activities their
// enabling records (".det") and, when reward variables earn impulses, what
// each state earns (".imp"). The files are written in text, or in binary
// and compressed forms on request, under temporary names that are renamed
// into place when the run succeeds (OutputSet). Every output problem ends
// the run with a message on standard error and exit status 1.
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
  // Also write each state's marking (".states"); exits with status 1 when
  // the model's state holds anything but places.
  void setWriteMarkings(bool on);
  // Also write, in the deterministic mode, which activity and delay each
  // deterministic firing belongs to (".firings").
  void setWriteFirings(bool on);
  // The file type of the command line (-F): 2, 4 and 6 write the ".arm",
  // ".var" and ".det" files in their binary forms, other values in text.
  void setFileType(int fileType);
  // Compress the output files but ".pvtype" with zstd at this level; none
  // without a level.
  void setCompression(std::optional<int> level);
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

  // How the model's states are explored.
  enum class Mode { Normal, Deterministic };
  // Chooses the exploration of the model's actions (and FindNext); refuses
  // unsupported distributions and an unstable initial state with exit
  // status 1.
  Mode ChooseMode();

  // The steps of an exploration, shared by the sequential run and the
  // distributed one (which calls them in its own order, on its own files).
  //
  // Opens the reward file varName and the files written beside the usual
  // ones, and writes the head of arm (placeholder: the count's width).
  void StartFiles(OutputFile& arm, const char* varName, int placeholder, bool deterministic);
  // Writes the rewards and marking of the initial state, numbered 1.
  void WriteInitialState();
  // Explores state number (vector state): collects the stable states it
  // reaches in Reached, with the firing and impulse records of the mode.
  void ExploreState(unsigned long number, char* state, bool deterministic);
  // Writes the rewards and marking of a newly numbered state, reached
  // first by the firing of action.
  void WriteNewState(unsigned long number, const char* state, BaseActionClass* action);
  // Entry i of Reached, of value value, leads to state target.
  void RecordTransition(size_t i, unsigned long target, double value);
  // Writes the record of the explored state number (its transitions as
  // recorded) and its firings; reports it when absorbing.
  void WriteStateRecord(OutputFile& arm, unsigned long number, bool deterministic);
  // Writes what the explored state number earns in impulses, when the
  // model has impulses.
  void WriteImpulses(unsigned long number);
  // Ends the run when a write to arm or to the reward file failed.
  void CheckRecordsWritten(const OutputFile& arm, const char* armName, const char* varName);
  // Closes every file the exploration wrote (arm's count written before).
  void FinishFiles(OutputFile& arm, const char* armName, const char* varName);
  // The name to write the run's file with this suffix under (path + name +
  // suffix, made temporary until the run commits), as a new string the
  // caller releases with delete[].
  char* outputName(const char* suffix);
  // Starts the run's set of files, removing those of earlier runs.
  void startOutputs();
  // Renames the run's files into place.
  void commitOutputs();
  // Opens name for output, truncated; on failure prints message and the
  // file's name on standard error and exits with status 1.
  void openOutput(OutputFile& out, const char* name, const char* message);
  // Closes out; ends the run when anything written to it was lost.
  void closeOutput(OutputFile& out, const char* name);
  // Ends the run, naming the file and the reason (an errno value, left out
  // when 0), unless written.
  void checkWritten(bool written, const char* name, int reason);
  // The buffers of an exploration (NextState, TempState), held from
  // allocateScratch to releaseScratch.
  void allocateScratch();
  void releaseScratch();
  // The width of the count placeholder of the ".arm" file in a mode.
  static int Placeholder(bool deterministic);
  // Writes the ".det" file from records; ends the run when that fails.
  void WriteDeterministicFile(const char* detName, const DeterministicList& records);
  // Prints the end of a run on standard output and in the trace: the
  // states generated and the processor time since start.
  void ReportRun(unsigned long generated, std::clock_t start);

  // Explores with timed (exponential, Erlang) and instantaneous actions.
  void GenStateSpaceNormal(const char* armName, const char* varName);
  // Explores with deterministic, exponential and instantaneous actions.
  void GenStateSpaceDeterministic(const char* armName, const char* varName, const char* detName);

  // Explores one stable state: every enabled timed action, no zero-time
  // chains. The stable states reached are collected in Reached.
  void FindNextNormal(char* state);
  // Explores one stable state, following zero-time chains after each firing.
  void FindNextInstant(char* state);
  // Explores one stable state in the deterministic mode.
  void FindNextDeterministic(char* state);
  // Numbers the states collected in Reached, in the order they were
  // reached (new ones are stored, queued and their rewards written), and
  // sums their values per target into TransitionRates.
  void NumberReachedStates();
  // Fires one timed action in the model's current state (an Erlang action
  // not yet in its last phase steps to its next phase instead); the reached
  // state is in NextState and its rate in CurrentRate. False when not
  // enabled.
  bool FireAction(BaseActionClass* action, char* state);
  // Records a transition of the given rate to NextState (collected in
  // Reached). Rates not above 0 record nothing.
  void SaveStableState(double rate);
  // Resolves the state the model holds, reached with probability p after a
  // timed firing, into stable states (weights choose among instantaneous
  // actions).
  void FireInstant(double p);
  // The same in the deterministic mode (case probabilities choose).
  void FireInstantDet(double f);
  // Diagnostic: "STATEVECTOR=" and the vector's bytes.
  void printstate(char* state, int length);
  // The head of the ".arm" file: in text line 1 (the output type) and a
  // count placeholder of width spaces on line 2; in binary the layout's head.
  void writeHeader(OutputFile& out, int width);
  // Writes the count into the head: in text over the placeholder's first
  // characters, where a count longer than the placeholder's width gets the
  // room it needs (out may then be closed). The last write to out.
  void rewriteCount(OutputFile& out, const char* name, unsigned long count, int width);

  unsigned long CurrentStateNumber;
  // Target number and accumulated value of every transition from the state
  // being explored; sorted by target when its record is written.
  std::vector<std::pair<unsigned long, double>> TransitionRates;
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
  short OutputType;  // 1 text, 2 binary (".arm", ".var", ".det")
  char* TraceFileName;           // owned (free)
  TraceFileContainer* Traces;    // owned
  TraceFileTavrelSSG* GenTrace;  // owned
  int GenTraceLevel;
  short InstantDepth;
  unsigned int NumInstantaneousActions;
  double LoadFactor;
  ReachedStates Reached;
  std::unique_ptr<StateMarkings> Markings;        // when asked for
  std::unique_ptr<StateMarkings> ZeroMarkings;    // names the places in noteZero's messages
  std::vector<const void*> ZeroReported;          // the groups noteZero has reported
  unsigned long DroppedFirings = 0;               // those noteZero counted
  std::unique_ptr<DeterministicFirings> Firings;  // when asked for, while exploring
  std::unique_ptr<ImpulseRewards> Impulses;       // for models with impulses, while exploring
  bool FiringsWanted;
  short RequestedType;                  // OutputType of the next exploration
  std::optional<int> CompressionLevel;  // of every file but ".pvtype", when compressed
  std::unique_ptr<OutputSet> Outputs;   // the run's files, while exploring

 private:
  // Whether the trace writer prints messages of this level: the messages
  // made for every state and transition are formatted only then.
  bool tracing(int level) const;
  void classifyActions();
  void registerInitialState();
  bool initialStateStable();
  // Writes out the reward file and releases the reward writer; ends the run
  // when records were lost.
  void finishRewards(const char* varName);
  // Opens the files written beside the usual ones: those asked for, and
  // the impulse file of a model with impulses.
  void openRequestedFiles(bool deterministic);
  void closeRequestedFiles();
  // Opens file (one written beside the usual ones) as path + name + suffix,
  // or closes it; ends the run when that fails.
  template <class File>
  void openBeside(File& file, const char* suffix);
  template <class File>
  void closeBeside(File& file, const char* suffix);
  // Starts the reward file with the initial state, then explores every
  // queued state and writes its record; returns the number of records.
  unsigned long exploreQueue(OutputFile& arm, const char* armName, const char* varName,
                             int placeholder, bool deterministic);
  void reportAbsorbing(bool deterministic);
  // Writes records to det and closes it; ends the run when that fails.
  void writeDeterministic(OutputFile& det, const char* detName, const DeterministicList& records);
  // The explored state's record: its number, its targets with their values,
  // then 0 (in binary: number, count, targets and values).
  void writeRecord(OutputFile& out);
  void writeBinaryRecord(OutputFile& out);
  void printProgress(unsigned long number);
  // Numbers a reached state: a new one is stored, queued and its rewards
  // written.
  unsigned long numberState(size_t reached);
  void addRate(unsigned long target, double value);
  // The instantaneous actions enabled in the current marking, in model
  // order, kept for the current depth of the zero-time chain.
  const std::vector<BaseActionClass*>& enabledInstantaneous();
  // Among several enabled instantaneous actions, those of the highest rank,
  // kept for the current depth.
  const std::vector<BaseActionClass*>& highestRanked(const std::vector<BaseActionClass*>& enabled);
  // The marking saved at the current depth of a zero-time chain, to try
  // each of several instantaneous actions from it.
  char* savedMarking();
  // Fires action and writes the reached state, Erlang phases included,
  // into NextState.
  void fire(BaseActionClass* action);
  // Calls step with each case of action (the members of its group) or, for
  // an activity without cases, with action alone; returns how many.
  template <class Step>
  int forEachCase(BaseActionClass* action, Step step);
  // Whether an Erlang action has reached its last phase; ends the run when
  // its number of phases is not a whole number from 1 to 32767.
  bool readyToFire(BaseActionClass* action);
  // Ends the run when a probability or rate is negative, infinite or NaN.
  void checkValue(double value, BaseActionClass* action, const char* what);
  double caseProbability(BaseActionClass* action);
  // The rate of a timed action, checked; a rate of 0 is noted.
  double timedRate(BaseActionClass* action);
  // Counts a firing dropped because its rate, case probability or weight
  // (what) is 0, and reports the first of each activity on standard error
  // with the explored state's number and marking: a value that drops a
  // firing is rarely what the modeller meant.
  void noteZero(BaseActionClass* action, const char* what);
  // Adds a positive rate out of the explored state to ExitRate; ends the
  // run, naming FiringAction, when the sum overflows.
  void addExitRate(double rate);

  // The timed action being fired from the explored state, and the sum of
  // the rates out of it so far.
  BaseActionClass* FiringAction = nullptr;
  double ExitRate = 0.0;

  // The timed or instantaneous actions to ask in the current marking, in
  // model order: those the index finds, or all while every check is traced.
  const std::vector<BaseActionClass*>& toAsk(EnablingIndex& index);
  const std::vector<BaseActionClass*>& timedToAsk();
  const std::vector<BaseActionClass*>& instantaneousToAsk();

  std::unique_ptr<EnablingIndex> TimedIndex;
  std::unique_ptr<EnablingIndex> InstantaneousIndex;

  // Scratch reused for every state: the vector being explored, and per
  // depth of a zero-time chain the saved marking and the action lists.
  std::vector<char> ExploredState;
  std::vector<std::vector<char>> SavedMarkings;
  std::vector<std::vector<BaseActionClass*>> EnabledAtDepth;
  std::vector<std::vector<BaseActionClass*>> CandidatesAtDepth;
  std::vector<char> RecordBytes;  // a binary record being built
};

// The per-state exploration of the normal mode: FindNextNormal or
// FindNextInstant.
extern void (StateSpaceGen::*FindNext)(char*);

// Debug level of the deterministic exploration; reset when it ends.
extern int GlobalDebugLevel;

#endif
