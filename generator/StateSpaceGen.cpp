#include "generator/StateSpaceGen.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <new>
#include <string>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/BaseGroupClass.h"
#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/ResultsDB.h"
#include "Cpp/BaseClasses/StandardErrors.h"
#include "Cpp/BaseClasses/TraceFileContainer.h"
#include "Cpp/BaseClasses/TraceFileTavrelSSG.h"
#include "Cpp/BaseClasses/WeightTotal.h"
#include "common/PrintableText.h"
#include "generator/DeterministicFirings.h"
#include "generator/EnablingIndex.h"
#include "generator/HybridHash.h"
#include "generator/ImpulseRewards.h"
#include "generator/OutputFile.h"
#include "generator/OutputSet.h"
#include "generator/Reward.h"
#include "generator/StateMarkings.h"
#include "generator/StateSpaceLayout.h"
#include "generator/queue.h"

void (StateSpaceGen::*FindNext)(char*) = &StateSpaceGen::FindNextNormal;

namespace {

// Parameters of the state store as the generator builds it.
const unsigned long kInitialTableSize = 131072;
const unsigned long kBlockSize = 131072;

// Longest chain of instantaneous firings after one timed firing.
const short kMaxInstantDepth = 23;

// Most phases of an Erlang activity: its phase is a short in the state.
const double kMaxPhases = 32767;

// Distribution mask bits; an unsupported distribution sets kUnsupported.
const int kExponentialOrInstant = 1;
const int kDeterministicBit = 2;
const int kErlangBit = 4;
const int kUnsupported = 0xF000;

// Fewest actions of one kind for which the generator asks the enabling
// index rather than every action.
const size_t kIndexedFrom = 64;

namespace layout = state_space_layout;

// Prints a pair of stdout lines and ends the run: the generator's model
// checks report on standard output.
[[noreturn]] void refuse(const char* message) {
  std::cout << message << std::endl;
  std::exit(1);
}

[[noreturn]] void refuseDistribution() {
  refuse("Error:  Can not generate state space with Current Action Distribution Type");
}

// Appends value's bytes, least significant first, as the binary forms are.
template <class T>
void appendLittleEndian(std::vector<char>& out, T value) {
  static_assert(sizeof(T) <= 8, "at most 8 bytes");
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof value);
  for (size_t i = 0; i < sizeof value; i++) {
    out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
  }
}

char* newBuffer(size_t size) {
  char* buffer = new (std::nothrow) char[size > 0 ? size : 1];
  if (buffer == nullptr) {
    MemoryAllocationError();
  }
  return buffer;
}

}  // namespace

StateSpaceGen::StateSpaceGen(PVModel* model, const char* path, const char* name, short absorb,
                             double loadFactor, const char* dbHost, const char* /*dbEntity*/,
                             char* traceFileName)
    : CurrentStateNumber(0),
      NumTimedActions(0),
      StateCounter(0),
      StateSize(0),
      NumErlangActions(0),
      Database(nullptr),
      DistributionMask(0),
      Model(model),
      TheReward(nullptr),
      StateQueue(nullptr),
      StateStore(nullptr),
      InstantaneousActions(nullptr),
      TimedActions(nullptr),
      ErlangActions(nullptr),
      Actions(nullptr),
      Groups(nullptr),
      TempState(nullptr),
      CurrentRate(0.0),
      NextState(nullptr),
      ExperimentPath(path),
      ExperimentName(name),
      FlagAbsorb(absorb),
      OutputType(1),
      TraceFileName(traceFileName),
      Traces(nullptr),
      GenTrace(nullptr),
      GenTraceLevel(0),
      InstantDepth(0),
      NumInstantaneousActions(0),
      LoadFactor(loadFactor),
      Reached(model->StateSize()),
      FiringsWanted(false),
      RequestedType(1),
      SavedMarkings(kMaxInstantDepth + 2),
      EnabledAtDepth(kMaxInstantDepth + 2),
      CandidatesAtDepth(kMaxInstantDepth + 2) {
  if (dbHost != nullptr) {
    Database = new ResultsDB(dbHost, -1, nullptr, nullptr, nullptr);
  }
  Model->ConsiderOnly(nullptr, -1);
  Model->listActions(&ActionList);
  Actions = ActionList.getList();
  StateSize = Model->StateSize();
  if (StateSize == 0) {
    refuse("The model is empty, i.e., does not have any state variables.");
  }
  Model->listGroups(&GroupList);
  Groups = GroupList.getList();
  StateStore = new HybridHash(Model, StateSize, kInitialTableSize, kBlockSize, LoadFactor);
  StateQueue = new Queue(StateSize);
  ExploredState.resize(StateSize);
  for (std::vector<char>& saved : SavedMarkings) {
    saved.resize(StateSize);
  }
  classifyActions();
  registerInitialState();
}

StateSpaceGen::~StateSpaceGen() {
  delete StateStore;
  delete StateQueue;
  delete[] InstantaneousActions;
  delete[] TimedActions;
  delete[] ErlangActions;
  std::free(TraceFileName);
  // The trace objects and the database connection live as long as the
  // generator, which the run keeps until its end.
  delete GenTrace;
  delete Traces;
  delete Database;
}

void StateSpaceGen::classifyActions() {
  const int numActions = ActionList.getNumItems();
  for (int i = 0; i < numActions; i++) {
    switch (Actions[i]->DistributionType) {
      case Instantaneous:
        NumInstantaneousActions++;
        DistributionMask |= kExponentialOrInstant;
        break;
      case Exponential:
        NumTimedActions++;
        DistributionMask |= kExponentialOrInstant;
        break;
      case Deterministic:
        NumTimedActions++;
        DistributionMask |= kDeterministicBit;
        break;
      case Erlang:
        NumTimedActions++;
        NumErlangActions++;
        DistributionMask |= kErlangBit;
        break;
      default:
        NumTimedActions++;
        DistributionMask = kUnsupported;
        break;
    }
  }
  InstantaneousActions = new BaseActionClass*[NumInstantaneousActions + 1];
  TimedActions = new BaseActionClass*[NumTimedActions + 1];
  ErlangActions = new BaseActionClass*[NumErlangActions + 1];
  unsigned int instant = 0, timed = 0, erlang = 0;
  for (int i = 0; i < numActions; i++) {
    BaseActionClass* action = Actions[i];
    if (action->DistributionType == Instantaneous) {
      InstantaneousActions[instant++] = action;
      continue;
    }
    TimedActions[timed++] = action;
    if (action->DistributionType == Erlang) {
      ErlangActions[erlang++] = action;
    }
  }
  TimedIndex = std::make_unique<EnablingIndex>(TimedActions, NumTimedActions);
  InstantaneousIndex =
      std::make_unique<EnablingIndex>(InstantaneousActions, NumInstantaneousActions);
}

const std::vector<BaseActionClass*>& StateSpaceGen::toAsk(EnablingIndex& index) {
  // A few actions are asked faster one by one than through the index.
  if (index.all().size() < kIndexedFrom || tracing(4)) {
    return index.all();
  }
  return index.candidates();
}

const std::vector<BaseActionClass*>& StateSpaceGen::timedToAsk() { return toAsk(*TimedIndex); }

const std::vector<BaseActionClass*>& StateSpaceGen::instantaneousToAsk() {
  return toAsk(*InstantaneousIndex);
}

void StateSpaceGen::registerInitialState() {
  allocateScratch();
  StateCounter = 1;
  Model->CurrentState(TempState->state);
  TempState->number = StateCounter;
  StateQueue->Enqueue(TempState);
  StateStore->Insert(TempState->state, StateCounter);
  Model->SetState(TempState->state);
  releaseScratch();
}

bool StateSpaceGen::tracing(int level) const { return GenTrace->getTraceLevel() >= level; }

void StateSpaceGen::setHashValue(double loadFactor) { LoadFactor = loadFactor; }

void StateSpaceGen::setWriteMarkings(bool on) {
  Markings.reset();
  if (!on) {
    return;
  }
  Markings = std::make_unique<StateMarkings>();
  if (!Markings->Describe(Model, StateSize)) {
    std::cerr << "Error: the .states file (-M) lists markings of places only, and the state of "
                 "this model holds other variables"
              << std::endl;
    std::exit(1);
  }
}

void StateSpaceGen::setWriteFirings(bool on) { FiringsWanted = on; }

void StateSpaceGen::setFileType(int fileType) {
  RequestedType = (fileType == 2 || fileType == 4 || fileType == 6) ? 2 : 1;
}

void StateSpaceGen::setCompression(std::optional<int> level) { CompressionLevel = level; }

void StateSpaceGen::SetTraceLevel(int level) {
  std::cout << "SSG: SetTraceLevel: " << level << std::endl;
  GenTraceLevel = level;
}

void StateSpaceGen::InitializeTrace() {
  Traces = new TraceFileContainer();
  Traces->setTraceLevel(GenTraceLevel);
  if (TraceFileName != nullptr) {
    GenTrace = new TraceFileTavrelSSG(TraceFileName);
  } else {
    GenTrace = new TraceFileTavrelSSG(&std::cout);
  }
  GenTrace->setTraceLevel(GenTraceLevel);
  Traces->AddTraceFile(GenTrace);
  Traces->addPVModel(Model);
}

void StateSpaceGen::GenStateSpace() {
  OutputType = RequestedType;
  const std::clock_t start = std::clock();
  SetMethodPointers();
  if (CurrentStateNumber == 0) {
    CurrentStateNumber = 1;
  }
  ReportRun(CurrentStateNumber, start);
}

void StateSpaceGen::ReportRun(unsigned long generated, std::clock_t start) {
  std::cout << "_$" << generated << "$" << std::endl;
  Traces->printf(1, "Generated: %lu states", generated);
  std::cout << "Generated: " << generated << " states";
  if (DroppedFirings > 0) {
    std::cout << " (" << DroppedFirings << (DroppedFirings == 1 ? " firing" : " firings")
              << " of rate or probability 0 dropped)";
  }
  std::cout << std::endl;
  if (Database != nullptr && !Database->writeSSGExperInfo(ExperimentName, generated)) {
    std::cout << "Error writing ssg experiment info" << std::endl;
  }
  double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  seconds = static_cast<long>(seconds * 100000 + 0.5) / 100000.0;
  Traces->printf(1, "Computation time (user + system): %f", seconds);
  std::cout << "Computation Time (user + system): " << seconds << " seconds" << std::endl;
}

void StateSpaceGen::SetMethodPointers() {
  startOutputs();
  char* armName = outputName(".arm");
  char* varName = outputName(".var");
  char* pvtypeName = outputName(".pvtype");
  const bool typesWritten = Model->WritePVTypeFile(pvtypeName);
  checkWritten(typesWritten, pvtypeName, errno);
  if (ChooseMode() == Mode::Normal) {
    GenStateSpaceNormal(armName, varName);
  } else {
    char* detName = outputName(".det");
    GenStateSpaceDeterministic(armName, varName, detName);
    delete[] detName;
  }
  delete[] armName;
  delete[] varName;
  delete[] pvtypeName;
  commitOutputs();
}

StateSpaceGen::Mode StateSpaceGen::ChooseMode() {
  if (ActionList.getNumItems() == 0) {
    FindNext = &StateSpaceGen::FindNextNormal;
    return Mode::Normal;
  }
  if (DistributionMask == 1 || DistributionMask == 4 || DistributionMask == 5) {
    if (!initialStateStable()) {
      refuse(
          "Error: The initial state is not stable, i.e., at least one instantaneous action is "
          "enabled in that state.");
    }
    FindNext = NumInstantaneousActions > 0 ? &StateSpaceGen::FindNextInstant
                                           : &StateSpaceGen::FindNextNormal;
    return Mode::Normal;
  }
  if (DistributionMask == 2 || DistributionMask == 3) {
    FindNext = &StateSpaceGen::FindNextInstant;
    return Mode::Deterministic;
  }
  refuseDistribution();
}

void StateSpaceGen::startOutputs() {
  std::string prefix = ExperimentPath != nullptr ? ExperimentPath : "";
  prefix += ExperimentName != nullptr ? ExperimentName : "";
  Outputs = std::make_unique<OutputSet>(prefix);
  std::string failed;
  const bool removed = Outputs->RemoveFinal(failed);
  checkWritten(removed, failed.c_str(), errno);
}

void StateSpaceGen::commitOutputs() {
  std::string failed;
  const bool committed = Outputs->Commit(failed);
  checkWritten(committed, failed.c_str(), errno);
  Outputs.reset();
}

bool StateSpaceGen::initialStateStable() {
  for (unsigned int i = 0; i < NumInstantaneousActions; i++) {
    if (InstantaneousActions[i]->Enabled()) {
      return false;
    }
  }
  return true;
}

char* StateSpaceGen::outputName(const char* suffix) {
  const std::string name = Outputs->Claim(suffix);
  char* copy = newBuffer(name.size() + 1);
  std::memcpy(copy, name.c_str(), name.size() + 1);
  return copy;
}

void StateSpaceGen::GenStateSpaceNormal(const char* armName, const char* varName) {
  allocateScratch();
  OutputFile arm;
  openOutput(arm, armName, "Error: Could not open state space output file");
  const unsigned long records =
      exploreQueue(arm, armName, varName, layout::kNormalPlaceholder, false);
  rewriteCount(arm, armName, records, layout::kNormalPlaceholder);
  FinishFiles(arm, armName, varName);
  releaseScratch();
}

int StateSpaceGen::Placeholder(bool deterministic) {
  return deterministic ? layout::kDeterministicPlaceholder : layout::kNormalPlaceholder;
}

void StateSpaceGen::FinishFiles(OutputFile& arm, const char* armName, const char* varName) {
  StateStore->ReleaseTable();
  closeOutput(arm, armName);
  finishRewards(varName);
  closeRequestedFiles();
}

void StateSpaceGen::StartFiles(OutputFile& arm, const char* varName, int placeholder,
                               bool deterministic) {
  std::cout.setf(std::ios::scientific, std::ios::floatfield);
  TheReward = new Reward(Model, OutputType, varName, CompressionLevel);
  openRequestedFiles(deterministic);
  writeHeader(arm, placeholder);
}

void StateSpaceGen::WriteInitialState() {
  Model->FireAction(NextState, &Model->NoAction);
  TheReward->Calculate(1);
  if (Markings) {
    Markings->Write(1, NextState);
  }
}

unsigned long StateSpaceGen::exploreQueue(OutputFile& arm, const char* armName, const char* varName,
                                          int placeholder, bool deterministic) {
  StartFiles(arm, varName, placeholder, deterministic);
  WriteInitialState();
  unsigned long records = 0;
  while (state_struct* next = StateQueue->Dequeue()) {
    // The deterministic mode traces a record before skipping number 0.
    if (deterministic && tracing(1)) {
      Traces->printf(1, "State Number = %lu", next->number);
    }
    if (next->number == 0) {
      CurrentStateNumber = 0;
      continue;
    }
    ExploreState(next->number, next->state, deterministic);
    NumberReachedStates();
    WriteStateRecord(arm, CurrentStateNumber, deterministic);
    WriteImpulses(CurrentStateNumber);
    records++;
    CheckRecordsWritten(arm, armName, varName);
  }
  return records;
}

void StateSpaceGen::ExploreState(unsigned long number, char* state, bool deterministic) {
  CurrentStateNumber = number;
  ExitRate = 0.0;
  if (deterministic) {
    FindNextDeterministic(state);
    return;
  }
  if (tracing(1)) {
    Traces->printf(1, "State Number = %lu", CurrentStateNumber);
  }
  (this->*FindNext)(state);
}

void StateSpaceGen::WriteStateRecord(OutputFile& arm, unsigned long number, bool deterministic) {
  CurrentStateNumber = number;
  printProgress(number);
  if (FlagAbsorb == 1 && TransitionRates.empty()) {
    reportAbsorbing(deterministic);
  }
  writeRecord(arm);
  if (Firings) {
    Firings->WriteState(number);
  }
}

void StateSpaceGen::WriteImpulses(unsigned long number) {
  if (Impulses) {
    Impulses->WriteState(number);
  }
}

void StateSpaceGen::CheckRecordsWritten(const OutputFile& arm, const char* armName,
                                        const char* varName) {
  checkWritten(arm.good(), armName, arm.error());
  checkWritten(TheReward->good(), varName, TheReward->error());
}

void StateSpaceGen::reportAbsorbing(bool deterministic) {
  if (deterministic) {
    std::cout << std::endl << "This following State is absorbing:" << std::endl;
    Model->printState();
    return;
  }
  Traces->printStr(1, "The following state is absorbing: ");
  std::cout << "absorbing state" << std::endl;
  Traces->printState();
}

void StateSpaceGen::FindNextNormal(char* state) {
  std::memcpy(ExploredState.data(), state, StateSize);
  Model->SetState(ExploredState.data());
  for (BaseActionClass* action : timedToAsk()) {
    if (tracing(4)) {
      Traces->printf(4, "Checking Action: %s", action->Name);
    }
    if (FireAction(action, ExploredState.data())) {
      SaveStableState(CurrentRate);
      Model->SetState(ExploredState.data());
    }
  }
}

template <class Step>
int StateSpaceGen::forEachCase(BaseActionClass* action, Step step) {
  BaseGroupClass* group = Groups[action->GroupID];
  if (group->NumMembers < 1) {
    step(action);
    return 1;
  }
  for (int m = 0; m < group->NumMembers; m++) {
    step(group->Members[m]);
  }
  return group->NumMembers;
}

bool StateSpaceGen::FireAction(BaseActionClass* action, char* state) {
  if (!action->Enabled()) {
    return false;
  }
  if (tracing(1)) {
    Traces->printFireAction(action, 0.0);
  }
  FiringAction = action;
  if (action->DistributionType == Erlang && !readyToFire(action)) {
    // A phase step: the same marking, with the activity's phase advanced.
    Model->AgeAction(state, action);
    if (Impulses) {
      Impulses->PhaseStep();
    }
    CurrentRate = action->Rate() / forEachCase(action, [](BaseActionClass* c) { c->Age(); });
    checkValue(CurrentRate, action, "rate");
    Model->CurrentState(NextState);
    return true;
  }
  const double rate = timedRate(action);
  CurrentRate = caseProbability(action) * rate;
  fire(action);
  return true;
}

void StateSpaceGen::fire(BaseActionClass* action) {
  Model->FireWithoutRewards(NextState, action);
  if (Impulses) {
    Impulses->Fired(action, InstantDepth);
  }
  if (NumErlangActions == 0) {
    return;
  }
  // A completed Erlang activity starts again from its first phase, and so
  // does every one the firing disabled; the others keep theirs.
  if (action->DistributionType == Erlang) {
    forEachCase(action, [](BaseActionClass* c) { c->ResetPhase(); });
  }
  for (unsigned int i = 0; i < NumErlangActions; i++) {
    if (!ErlangActions[i]->Enabled()) {
      ErlangActions[i]->ResetPhase();
    }
  }
  Model->CurrentState(NextState);
}

bool StateSpaceGen::readyToFire(BaseActionClass* action) {
  // The phase is stored in 2 bytes and must meet the count exactly.
  const double phases = action->ErlangParamM();
  if (!(phases >= 1 && phases <= kMaxPhases && phases == std::floor(phases))) {
    std::cerr << "Error: activity " << printable(action->Name) << " has " << phases
              << " Erlang phases in state " << CurrentStateNumber
              << "; the number of phases must be a whole number from 1 to " << kMaxPhases
              << std::endl;
    std::exit(1);
  }
  return action->ReadyToFire();
}

void StateSpaceGen::SaveStableState(double rate) {
  if (tracing(4)) {
    Traces->printf(4, "The rate to this state: %f", rate);
  }
  if (rate > 0) {
    addExitRate(rate);
    Reached.add(NextState, rate, Model->LastActionFired);
    if (Impulses) {
      Impulses->Reached(InstantDepth, rate);
    }
  }
}

void StateSpaceGen::NumberReachedStates() {
  // Fetch the store's memory for all reached states before numbering them
  // in order: the fetches overlap instead of following one another.
  for (size_t i = 0; i < Reached.size(); i++) {
    Reached.hash(i) = HybridHash::Hash(Reached.state(i), StateSize);
    StateStore->PrefetchSlot(Reached.hash(i));
  }
  for (size_t i = 0; i < Reached.size(); i++) {
    StateStore->PrefetchVector(Reached.hash(i));
  }
  for (size_t i = 0; i < Reached.size(); i++) {
    RecordTransition(i, numberState(i), Reached.value(i));
  }
  Reached.clear();
}

void StateSpaceGen::RecordTransition(size_t i, unsigned long target, double value) {
  addRate(target, value);
  if (Firings) {
    Firings->Numbered(i, target);
  }
}

unsigned long StateSpaceGen::numberState(size_t reached) {
  const char* state = Reached.state(reached);
  const unsigned long target =
      StateStore->FindOrInsert(state, StateCounter + 1, Reached.hash(reached));
  if (target > StateCounter) {
    StateCounter = target;
    std::memcpy(TempState->state, state, StateSize);
    TempState->number = StateCounter;
    StateQueue->Enqueue(TempState);
    WriteNewState(StateCounter, TempState->state, Reached.action(reached));
  }
  return target;
}

void StateSpaceGen::WriteNewState(unsigned long number, const char* state,
                                  BaseActionClass* action) {
  // The rewards written for a state are those of the firing that reached
  // it first: its marking, and the action fired last.
  Model->SetState(const_cast<char*>(state));
  Model->LastActionFired = action;
  Model->UpdateRewards();
  TheReward->Calculate(number);
  if (Markings) {
    Markings->Write(number, state);
  }
}

void StateSpaceGen::addRate(unsigned long target, double value) {
  for (std::pair<unsigned long, double>& entry : TransitionRates) {
    if (entry.first == target) {
      entry.second += value;
      return;
    }
  }
  TransitionRates.emplace_back(target, value);
}

void StateSpaceGen::FindNextInstant(char* state) {
  std::memcpy(ExploredState.data(), state, StateSize);
  Model->SetState(ExploredState.data());
  for (BaseActionClass* action : timedToAsk()) {
    if (tracing(4)) {
      Traces->printf(4, "Checking Action: %s", action->Name);
    }
    if (FireAction(action, ExploredState.data())) {
      InstantDepth = 0;
      FireInstant(1.0);
    }
    Model->SetState(ExploredState.data());
  }
}

void StateSpaceGen::FireInstant(double p) {
  if (InstantDepth > kMaxInstantDepth) {
    std::cerr << "Error:  Maximum number of zero time transition recursive "
              << "firings exceeded"
              << "(" << kMaxInstantDepth << ")" << std::endl
              << "Possible undetermined model." << std::endl
              << "Please check the model and try again" << std::endl;
    std::exit(1);
  }
  const std::vector<BaseActionClass*>& enabled = enabledInstantaneous();
  if (enabled.empty()) {
    SaveStableState(p * CurrentRate);
    return;
  }
  if (enabled.size() == 1) {
    if (tracing(1)) {
      Traces->printFireAction(enabled[0], 0.0);
    }
    fire(enabled[0]);
    InstantDepth++;
    FireInstant(p);
    InstantDepth--;
    return;
  }
  const std::vector<BaseActionClass*>& candidates = highestRanked(enabled);
  WeightTotal total;
  for (BaseActionClass* candidate : candidates) {
    // A negative weight would make the shares meaningless even where the
    // quotient comes out positive (all weights negative).
    const double weight = candidate->Weight();
    checkValue(weight, candidate, "weight");
    total.add(weight);
  }
  if (total.overflowed()) {
    total.rescale();
    for (BaseActionClass* candidate : candidates) {
      total.add(candidate->Weight());
    }
  }
  char* saved = savedMarking();
  Model->CurrentState(saved);
  for (BaseActionClass* candidate : candidates) {
    const double choice = total.share(candidate->Weight());
    checkValue(choice, candidate, "case probability");
    if (choice == 0.0) {
      noteZero(candidate, "weight");
    }
    if (tracing(1)) {
      Traces->printFireAction(candidate, 0.0);
    }
    fire(candidate);
    InstantDepth++;
    FireInstant(choice * p);
    InstantDepth--;
    Model->SetState(saved);
  }
}

const std::vector<BaseActionClass*>& StateSpaceGen::enabledInstantaneous() {
  std::vector<BaseActionClass*>& enabled = EnabledAtDepth[InstantDepth];
  enabled.clear();
  for (BaseActionClass* action : instantaneousToAsk()) {
    if (action->Enabled()) {
      enabled.push_back(action);
    }
  }
  return enabled;
}

const std::vector<BaseActionClass*>& StateSpaceGen::highestRanked(
    const std::vector<BaseActionClass*>& enabled) {
  int maxRank = 0;
  for (BaseActionClass* action : enabled) {
    maxRank = std::max(maxRank, action->Rank());
  }
  std::vector<BaseActionClass*>& candidates = CandidatesAtDepth[InstantDepth];
  candidates.clear();
  for (BaseActionClass* action : enabled) {
    if (action->Rank() == maxRank) {
      candidates.push_back(action);
    }
  }
  return candidates;
}

char* StateSpaceGen::savedMarking() { return SavedMarkings[InstantDepth].data(); }

double StateSpaceGen::caseProbability(BaseActionClass* action) {
  const double p = Groups[action->GroupID]->Probability(action);
  checkValue(p, action, "case probability");
  if (p == 0.0) {
    noteZero(action, "case probability");
  }
  return p;
}

double StateSpaceGen::timedRate(BaseActionClass* action) {
  const double rate = action->Rate();
  checkValue(rate, action, "rate");
  if (rate == 0.0 && action->DistributionType == Exponential) {
    noteZero(action, "rate");
  }
  return rate;
}

void StateSpaceGen::noteZero(BaseActionClass* action, const char* what) {
  DroppedFirings++;
  const void* activity = Groups[action->GroupID];
  if (std::find(ZeroReported.begin(), ZeroReported.end(), activity) != ZeroReported.end()) {
    return;
  }
  ZeroReported.push_back(activity);
  if (!ZeroMarkings) {
    ZeroMarkings = std::make_unique<StateMarkings>();
    if (!ZeroMarkings->Describe(Model, StateSize)) {
      ZeroMarkings.reset();
    }
  }
  std::cerr << "Warning: activity " << printable(action->Name);
  if (action->OwnerModel != nullptr) {
    std::cerr << " of model " << printable(action->OwnerModel->Name);
  }
  std::cerr << " is enabled with " << what << " 0 in state " << CurrentStateNumber;
  if (ZeroMarkings) {
    std::cerr << " (" << ZeroMarkings->Listing(ExploredState.data()) << ")";
  }
  std::cerr << "; its firing is dropped" << std::endl;
}

void StateSpaceGen::checkValue(double value, BaseActionClass* action, const char* what) {
  if (std::isfinite(value) && value >= 0.0) {
    return;
  }
  std::cerr << "Error: activity " << printable(action->Name) << " has the " << what << " " << value
            << " in state " << CurrentStateNumber
            << "; rates and case probabilities must be finite and not negative" << std::endl;
  std::exit(1);
}

void StateSpaceGen::addExitRate(double rate) {
  ExitRate += rate;
  if (std::isfinite(ExitRate)) {
    return;
  }
  std::cerr << "Error: the rates out of state " << CurrentStateNumber
            << " sum to more than the largest number when activity "
            << printable(FiringAction->Name) << " of model "
            << printable(FiringAction->OwnerModel != nullptr ? FiringAction->OwnerModel->Name : "")
            << " adds " << compactNumber(rate) << "; the rates of a state must have a finite sum"
            << std::endl;
  std::exit(1);
}

void StateSpaceGen::printstate(char* state, int length) {
  std::cout << "STATEVECTOR=" << std::endl;
  printStateListing(state, length);
}

void StateSpaceGen::allocateScratch() {
  TempState = new (std::nothrow) state_struct;
  if (TempState == nullptr) {
    MemoryAllocationError();
  }
  TempState->state = newBuffer(StateSize);
  TempState->number = 0;
  NextState = newBuffer(StateSize);
}

void StateSpaceGen::releaseScratch() {
  delete[] TempState->state;
  delete TempState;
  TempState = nullptr;
  delete[] NextState;
  NextState = nullptr;
}

void StateSpaceGen::openOutput(OutputFile& out, const char* name, const char* message) {
  if (!out.open(name, CompressionLevel)) {
    std::cerr << message << std::endl
              << "  " << Outputs->Shown(name) << ": " << std::strerror(errno) << std::endl;
    std::exit(1);
  }
}

void StateSpaceGen::closeOutput(OutputFile& out, const char* name) {
  const bool closed = out.close();
  checkWritten(closed, name, out.error());
}

void StateSpaceGen::finishRewards(const char* varName) {
  const bool finished = TheReward->Finish();
  checkWritten(finished, varName, TheReward->error());
  delete TheReward;
  TheReward = nullptr;
}

void StateSpaceGen::openRequestedFiles(bool deterministic) {
  if (Markings) {
    openBeside(*Markings, ".states");
  }
  if (FiringsWanted && deterministic) {
    Firings = std::make_unique<DeterministicFirings>(TimedActions, NumTimedActions, Groups);
    openBeside(*Firings, ".firings");
  }
  if (ImpulseRewards::Defined(*Model)) {
    Impulses = std::make_unique<ImpulseRewards>(Model, TimedActions, NumTimedActions, Groups);
    openBeside(*Impulses, ".imp");
  }
}

void StateSpaceGen::closeRequestedFiles() {
  if (Markings) {
    closeBeside(*Markings, ".states");
  }
  if (Firings) {
    closeBeside(*Firings, ".firings");
    Firings.reset();
  }
  if (Impulses) {
    closeBeside(*Impulses, ".imp");
    Impulses.reset();
  }
}

template <class File>
void StateSpaceGen::openBeside(File& file, const char* suffix) {
  char* name = outputName(suffix);
  const bool opened = file.Open(name, CompressionLevel);
  checkWritten(opened, name, errno);
  delete[] name;
}

template <class File>
void StateSpaceGen::closeBeside(File& file, const char* suffix) {
  char* name = outputName(suffix);
  const bool closed = file.Close();
  checkWritten(closed, name, file.error());
  delete[] name;
}

void StateSpaceGen::checkWritten(bool written, const char* name, int reason) {
  if (written) {
    return;
  }
  std::cerr << "Error: Could not write " << (Outputs ? Outputs->Shown(name) : name);
  if (reason != 0) {
    std::cerr << ": " << std::strerror(reason);
  }
  std::cerr << std::endl;
  std::exit(1);
}

namespace {

// The binary head with count state records.
std::string binaryHead(unsigned long count, int width) {
  std::vector<char> head(layout::kMagic, layout::kMagic + sizeof layout::kMagic);
  appendLittleEndian(head, layout::kVersion);
  appendLittleEndian(head, width == layout::kDeterministicPlaceholder ? layout::kDeterministic
                                                                      : std::uint32_t(0));
  appendLittleEndian(head, std::uint32_t(4));
  appendLittleEndian(head, std::uint64_t(count));
  return std::string(head.begin(), head.end());
}

}  // namespace

void StateSpaceGen::writeHeader(OutputFile& out, int width) {
  if (OutputType == 1) {
    out.putSigned(OutputType);
    out.put('\n');
    out.putSpaces(width);
    out.put('\n');
  } else {
    const std::string head = binaryHead(0, width);
    out.putBytes(head.data(), head.size());
  }
  out.endHead();
}

void StateSpaceGen::rewriteCount(OutputFile& out, const char* name, unsigned long count,
                                 int width) {
  const std::string head =
      OutputType == 1 ? layout::TextHead(count, width) : binaryHead(count, width);
  const bool replaced = out.replaceHead(head);
  checkWritten(replaced, name, out.error());
}

void StateSpaceGen::writeRecord(OutputFile& out) {
  std::sort(TransitionRates.begin(), TransitionRates.end());
  if (OutputType != 1) {
    writeBinaryRecord(out);
    return;
  }
  out.putUnsigned(CurrentStateNumber);
  out.put('\n');
  for (const auto& entry : TransitionRates) {
    out.putUnsigned(entry.first);
    out.put('\n');
    out.putScientific(entry.second);
    out.put('\n');
  }
  TransitionRates.clear();
  out.put('0');
  out.put('\n');
}

void StateSpaceGen::writeBinaryRecord(OutputFile& out) {
  // Numbers fit 4 bytes: the state store numbers at most 2^32 - 1 states.
  RecordBytes.clear();
  appendLittleEndian(RecordBytes, static_cast<std::uint32_t>(CurrentStateNumber));
  appendLittleEndian(RecordBytes, static_cast<std::uint32_t>(TransitionRates.size()));
  for (const auto& entry : TransitionRates) {
    appendLittleEndian(RecordBytes, static_cast<std::uint32_t>(entry.first));
    appendLittleEndian(RecordBytes, entry.second);
  }
  TransitionRates.clear();
  out.putBytes(RecordBytes.data(), RecordBytes.size());
}

void StateSpaceGen::printProgress(unsigned long number) {
  if (number % 1000 == 0) {
    std::cout << "_$" << number << "$" << std::endl;
  }
}
