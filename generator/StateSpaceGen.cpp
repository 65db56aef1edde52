#include "generator/StateSpaceGen.h"

#include <cerrno>
#include <cmath>
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
#include "generator/HybridHash.h"
#include "generator/Reward.h"
#include "generator/queue.h"

void (StateSpaceGen::*FindNext)(char*) = &StateSpaceGen::FindNextNormal;

namespace {

// Parameters of the state store as the generator builds it.
const unsigned long kInitialTableSize = 131071;
const unsigned long kBlockSize = 100000;
const unsigned long kChunkWidth = 5;
const unsigned long kMaxBlocks = 128;

// Longest chain of instantaneous firings after one timed firing.
const short kMaxInstantDepth = 23;

// Distribution mask bits; an unsupported distribution sets kUnsupported.
const int kExponentialOrInstant = 1;
const int kDeterministicBit = 2;
const int kErlangBit = 4;
const int kUnsupported = 0xF000;

// Width of the count placeholder on line 2 of the ".arm" file.
const int kNormalPlaceholder = 63;

// Prints a pair of stdout lines and ends the run: the generator's model
// checks report on standard output.
[[noreturn]] void refuse(const char* message) {
  std::cout << message << std::endl;
  std::exit(1);
}

[[noreturn]] void refuseDistribution() {
  refuse("Error:  Can not generate state space with Current Action Distribution Type");
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
      LoadFactor(loadFactor) {
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
  StateStore = new HybridHash(Model, StateSize, kInitialTableSize, kBlockSize, kChunkWidth,
                              kMaxBlocks, LoadFactor);
  StateQueue = new Queue(StateSize);
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

void StateSpaceGen::setHashValue(double loadFactor) { LoadFactor = loadFactor; }

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
  OutputType = 1;
  const std::clock_t start = std::clock();
  SetMethodPointers();
  if (CurrentStateNumber == 0) {
    CurrentStateNumber = 1;
  }
  const unsigned long generated = CurrentStateNumber;
  std::cout << "_$" << generated << "$" << std::endl;
  Traces->printf(1, "Generated: %lu states", generated);
  std::cout << "Generated: " << generated << " states" << std::endl;
  if (Database != nullptr && !Database->writeSSGExperInfo(ExperimentName, generated)) {
    std::cout << "Error writing ssg experiment info" << std::endl;
  }
  double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  seconds = static_cast<long>(seconds * 100000 + 0.5) / 100000.0;
  Traces->printf(1, "Computation time (user + system): %f", seconds);
  std::cout << "Computation Time (user + system): " << seconds << " seconds" << std::endl;
}

void StateSpaceGen::SetMethodPointers() {
  char* armName = outputName(".arm");
  char* varName = outputName(".var");
  char* pvtypeName = outputName(".pvtype");
  if (!Model->WritePVTypeFile(pvtypeName)) {
    std::cerr << "Error: Could not write the reward type file " << pvtypeName << std::endl;
    std::exit(1);
  }
  if (ActionList.getNumItems() == 0) {
    FindNext = &StateSpaceGen::FindNextNormal;
    GenStateSpaceNormal(armName, varName);
  } else if (DistributionMask == 1 || DistributionMask == 4 || DistributionMask == 5) {
    if (!initialStateStable()) {
      refuse(
          "Error: The initial state is not stable, i.e., at least one instantaneous action is "
          "enabled in that state.");
    }
    FindNext = NumInstantaneousActions > 0 ? &StateSpaceGen::FindNextInstant
                                           : &StateSpaceGen::FindNextNormal;
    GenStateSpaceNormal(armName, varName);
  } else if (DistributionMask == 2 || DistributionMask == 3) {
    char* detName = outputName(".det");
    FindNext = &StateSpaceGen::FindNextInstant;
    GenStateSpaceDeterministic(armName, varName, detName);
    delete[] detName;
  } else {
    refuseDistribution();
  }
  delete[] armName;
  delete[] varName;
  delete[] pvtypeName;
}

bool StateSpaceGen::initialStateStable() {
  for (unsigned int i = 0; i < NumInstantaneousActions; i++) {
    if (InstantaneousActions[i]->Enabled()) {
      return false;
    }
  }
  return true;
}

char* StateSpaceGen::outputName(const char* suffix) const {
  std::string name = ExperimentPath != nullptr ? ExperimentPath : "";
  name += ExperimentName != nullptr ? ExperimentName : "";
  name += suffix;
  char* copy = newBuffer(name.size() + 1);
  std::memcpy(copy, name.c_str(), name.size() + 1);
  return copy;
}

void StateSpaceGen::GenStateSpaceNormal(const char* armName, const char* varName) {
  allocateScratch();
  std::ofstream arm;
  openOutput(arm, armName, "Error: Could not open state space output file");
  arm.precision(10);
  arm.setf(std::ios::scientific, std::ios::floatfield);
  std::cout.setf(std::ios::scientific, std::ios::floatfield);
  TheReward = new Reward(Model, OutputType, varName);
  Model->FireAction(NextState, &Model->NoAction);
  TheReward->Calculate(StateCounter);
  writeHeader(arm, kNormalPlaceholder);
  unsigned long records = 0;
  while (state_struct* next = StateQueue->Dequeue()) {
    CurrentStateNumber = next->number;
    if (CurrentStateNumber == 0) {
      continue;
    }
    Traces->printf(1, "State Number = %lu", CurrentStateNumber);
    (this->*FindNext)(next->state);
    arm << CurrentStateNumber << '\n';
    printProgress(CurrentStateNumber);
    if (FlagAbsorb == 1 && TransitionRates.empty()) {
      Traces->printStr(1, "The following state is absorbing: ");
      std::cout << "absorbing state" << std::endl;
      Traces->printState();
    }
    writeRecord(arm);
    records++;
    checkWritten(arm, armName);
    checkRewardsWritten(varName);
  }
  rewriteCount(arm, records);
  checkWritten(arm, armName);
  StateStore->ReleaseTable();
  arm.close();
  checkWritten(arm, armName);
  delete TheReward;
  TheReward = nullptr;
  releaseScratch();
}

void StateSpaceGen::FindNextNormal(char* state) {
  std::vector<char> buffer(state, state + StateSize);
  Model->SetState(buffer.data());
  for (unsigned int i = 0; i < NumTimedActions; i++) {
    BaseActionClass* action = TimedActions[i];
    Traces->printf(4, "Checking Action: %s", action->Name);
    if (FireAction(action, buffer.data())) {
      SaveStableState(CurrentRate, StateStore->Lookup(NextState));
      Model->SetState(buffer.data());
    }
  }
}

bool StateSpaceGen::FireAction(BaseActionClass* action, char* state) {
  if (!action->Enabled()) {
    return false;
  }
  Traces->printFireAction(action, 0.0);
  if (action->DistributionType == Erlang && !action->ReadyToFire()) {
    // A phase step: the phase counters are not part of the state vector, so
    // the step is a transition from the state to itself.
    Model->AgeAction(state, action);
    BaseGroupClass* group = Groups[action->GroupID];
    if (group->NumMembers >= 1) {
      for (int m = 0; m < group->NumMembers; m++) {
        group->Members[m]->Age();
      }
      CurrentRate = action->Rate() / group->NumMembers;
    } else {
      action->Age();
      CurrentRate = action->Rate();
    }
    checkValue(CurrentRate, action, "rate");
    Model->CurrentState(NextState);
    return true;
  }
  const double rate = action->Rate();
  checkValue(rate, action, "rate");
  CurrentRate = caseProbability(action) * rate;
  Model->FireAction(NextState, action);
  for (unsigned int i = 0; i < NumErlangActions; i++) {
    if (!ErlangActions[i]->Enabled()) {
      ErlangActions[i]->ResetPhase();
    }
  }
  Model->CurrentState(NextState);
  return true;
}

void StateSpaceGen::SaveStableState(double rate, int index) {
  Traces->printf(4, "The rate to this state: %f", rate);
  if (!(rate > 0)) {
    return;
  }
  const unsigned long target = index >= 0 ? static_cast<unsigned long>(index) : numberNewState();
  addValue(target, rate);
}

unsigned long StateSpaceGen::numberNewState() {
  StateCounter++;
  std::memcpy(TempState->state, NextState, StateSize);
  TempState->number = StateCounter;
  StateQueue->Enqueue(TempState);
  StateStore->Insert(NextState, StateCounter);
  // The reward record is written after the rate entry exists; the entry
  // order does not matter to the record.
  TheReward->Calculate(StateCounter);
  return StateCounter;
}

void StateSpaceGen::addValue(unsigned long target, double value) {
  TransitionRates[static_cast<unsigned int>(target)] += value;
}

void StateSpaceGen::FindNextInstant(char* state) {
  std::vector<char> buffer(state, state + StateSize);
  Model->SetState(buffer.data());
  for (unsigned int i = 0; i < NumTimedActions; i++) {
    BaseActionClass* action = TimedActions[i];
    Traces->printf(4, "Checking Action: %s", action->Name);
    if (FireAction(action, buffer.data())) {
      InstantDepth = 0;
      FireInstant(1.0);
    }
    Model->SetState(buffer.data());
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
  refreshModel();
  const std::vector<BaseActionClass*> enabled = enabledInstantaneous();
  if (enabled.empty()) {
    SaveStableState(p * CurrentRate, StateStore->Lookup(NextState));
    return;
  }
  if (enabled.size() == 1) {
    Traces->printFireAction(enabled[0], 0.0);
    Model->FireAction(NextState, enabled[0]);
    InstantDepth++;
    FireInstant(p);
    InstantDepth--;
    return;
  }
  const std::vector<BaseActionClass*> candidates = highestRanked(enabled);
  double sum = 0.0;
  for (BaseActionClass* candidate : candidates) {
    // A negative weight would make the shares meaningless even where the
    // quotient comes out positive (all weights negative).
    const double weight = candidate->Weight();
    checkValue(weight, candidate, "weight");
    sum += weight;
  }
  std::vector<char> saved(StateSize);
  Model->CurrentState(saved.data());
  for (BaseActionClass* candidate : candidates) {
    const double choice = candidate->Weight() / sum;
    checkValue(choice, candidate, "case probability");
    Traces->printFireAction(candidate, 0.0);
    Model->FireAction(NextState, candidate);
    InstantDepth++;
    FireInstant(choice * p);
    InstantDepth--;
    Model->SetState(saved.data());
  }
}

void StateSpaceGen::refreshModel() {
  std::vector<char> current(StateSize);
  Model->CurrentState(current.data());
  Model->SetState(current.data());
}

std::vector<BaseActionClass*> StateSpaceGen::enabledInstantaneous() {
  std::vector<BaseActionClass*> enabled;
  for (unsigned int i = 0; i < NumInstantaneousActions; i++) {
    if (InstantaneousActions[i]->Enabled()) {
      enabled.push_back(InstantaneousActions[i]);
    }
  }
  return enabled;
}

std::vector<BaseActionClass*> StateSpaceGen::highestRanked(
    const std::vector<BaseActionClass*>& enabled) {
  int maxRank = 0;
  for (BaseActionClass* action : enabled) {
    maxRank = std::max(maxRank, action->Rank());
  }
  std::vector<BaseActionClass*> candidates;
  for (BaseActionClass* action : enabled) {
    if (action->Rank() == maxRank) {
      candidates.push_back(action);
    }
  }
  return candidates;
}

double StateSpaceGen::caseProbability(BaseActionClass* action) {
  const double p = Groups[action->GroupID]->Probability(action);
  checkValue(p, action, "case probability");
  return p;
}

void StateSpaceGen::checkValue(double value, BaseActionClass* action, const char* what) {
  if (std::isfinite(value) && value >= 0.0) {
    return;
  }
  std::cerr << "Error: activity " << action->Name << " has the " << what << " " << value
            << " in state " << CurrentStateNumber
            << "; rates and case probabilities must be finite and not negative" << std::endl;
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

void StateSpaceGen::openOutput(std::ofstream& out, const char* name, const char* message) {
  out.open(name, std::ios::out | std::ios::binary | std::ios::trunc);
  if (!out) {
    std::cerr << message << std::endl << "  " << name << ": " << std::strerror(errno) << std::endl;
    std::exit(1);
  }
}

void StateSpaceGen::checkWritten(std::ofstream& out, const char* name) {
  if (out.fail()) {
    std::cerr << "Error: Could not write " << name << ": " << std::strerror(errno) << std::endl;
    std::exit(1);
  }
}

void StateSpaceGen::checkRewardsWritten(const char* varName) {
  if (!TheReward->good()) {
    std::cerr << "Error: Could not write " << varName << ": " << std::strerror(errno) << std::endl;
    std::exit(1);
  }
}

void StateSpaceGen::writeHeader(std::ofstream& out, int width) {
  out << OutputType << '\n' << std::string(width, ' ') << '\n';
}

void StateSpaceGen::rewriteCount(std::ofstream& out, unsigned long count) {
  out.seekp(0);
  out << OutputType << '\n' << count << '\n';
  out.flush();
}

void StateSpaceGen::writeRecord(std::ofstream& out) {
  for (const auto& entry : TransitionRates) {
    out << entry.first << '\n' << entry.second << '\n';
  }
  TransitionRates.clear();
  out << 0 << '\n';
}

void StateSpaceGen::printProgress(unsigned long number) {
  if (number % 1000 == 0) {
    std::cout << "_$" << number << "$" << std::endl;
  }
}
