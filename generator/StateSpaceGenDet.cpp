// The exploration of models with deterministic activities. A deterministic
// firing contributes no rate: it records the explored state under its delay
// and, for each stable state it leads to, the negated probability of
// reaching it.

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <vector>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/BaseGroupClass.h"
#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/TraceFileContainer.h"
#include "generator/HybridHash.h"
#include "generator/Reward.h"
#include "generator/StateSpaceGen.h"
#include "generator/queue.h"

int GlobalDebugLevel = 0;

namespace {

// Width of the count placeholder on line 2 of the ".arm" file in this mode.
const int kDeterministicPlaceholder = 8;
const short kMaxInstantDepth = 23;

}  // namespace

void StateSpaceGen::GenStateSpaceDeterministic(const char* armName, const char* varName,
                                               const char* detName) {
  allocateScratch();
  std::ofstream det;
  openOutput(det, detName, "Error: Could not open det file ");
  std::ofstream arm;
  openOutput(arm, armName, "Error: Could not open binary file dude");
  for (std::ofstream* out : {&det, &arm}) {
    out->precision(10);
    out->setf(std::ios::scientific, std::ios::floatfield);
  }
  std::cout.setf(std::ios::scientific, std::ios::floatfield);
  TheReward = new Reward(Model, OutputType, varName);
  Model->FireAction(NextState, &Model->NoAction);
  TheReward->Calculate(StateCounter);
  writeHeader(arm, kDeterministicPlaceholder);
  unsigned long records = 0;
  while (state_struct* next = StateQueue->Dequeue()) {
    Traces->printf(1, "State Number = %lu", next->number);
    CurrentStateNumber = next->number;
    if (CurrentStateNumber == 0) {
      continue;
    }
    FindNextDeterministic(next->state);
    arm << CurrentStateNumber << '\n';
    printProgress(CurrentStateNumber);
    if (FlagAbsorb == 1 && TransitionRates.empty()) {
      std::cout << std::endl << "This following State is absorbing:" << std::endl;
      Model->printState();
    }
    writeRecord(arm);
    records++;
    checkWritten(arm, armName);
    checkRewardsWritten(varName);
  }
  GlobalDebugLevel = 0;
  rewriteCount(arm, records);
  det.flush();
  checkWritten(arm, armName);
  StateStore->ReleaseTable();
  DeterministicRecords.writeEnablingStates(
      det, (OutputType == 2 || OutputType == 4 || OutputType == 6) ? BinaryFile : TextFile);
  arm.close();
  checkWritten(arm, armName);
  det.close();
  checkWritten(det, detName);
  delete TheReward;
  TheReward = nullptr;
  releaseScratch();
}

void StateSpaceGen::FindNextDeterministic(char* state) {
  std::vector<char> buffer(state, state + StateSize);
  Model->SetState(buffer.data());
  for (unsigned int i = 0; i < NumTimedActions; i++) {
    BaseActionClass* action = TimedActions[i];
    Model->SetState(buffer.data());
    if (!action->Enabled()) {
      continue;
    }
    const double p = caseProbability(action);
    Traces->printf(1, "Enabled: %s", action->Name);
    if (action->DistributionType == Deterministic) {
      CurrentRate = -p;
      const int explored = StateStore->Lookup(buffer.data());
      DeterministicRecords.insertEnablingState(explored, action->ReturnDistributionParameters()[0]);
    } else {
      const double rate = action->Rate();
      checkValue(rate, action, "rate");
      CurrentRate = p * rate;
    }
    Traces->printFireAction(action, 0.0);
    Model->FireAction(NextState, action);
    InstantDepth = 0;
    FireInstantDet(1.0);
  }
}

void StateSpaceGen::FireInstantDet(double f) {
  if (InstantDepth > kMaxInstantDepth) {
    std::cerr << "Error:  Maximum number of zero time transition firings exceeded"
              << "(" << kMaxInstantDepth << ")\nPossible undetermined model" << std::endl
              << "Please check the model and try again" << std::endl;
    std::exit(1);
  }
  refreshModel();
  const std::vector<BaseActionClass*> enabled = enabledInstantaneous();
  if (enabled.empty()) {
    const int index = StateStore->Lookup(NextState);
    const double value = f * CurrentRate;
    Traces->printf(4, "The rate to this state: %f", value);
    if (value == 0.0) {
      return;
    }
    addValue(index >= 0 ? static_cast<unsigned long>(index) : numberNewState(), value);
    return;
  }
  const std::vector<BaseActionClass*> candidates =
      enabled.size() == 1 ? enabled : highestRanked(enabled);
  std::vector<char> saved(StateSize);
  if (candidates.size() > 1) {
    Model->CurrentState(saved.data());
  }
  for (BaseActionClass* candidate : candidates) {
    const double q = caseProbability(candidate);
    Traces->printFireAction(candidate, 0.0);
    Model->FireAction(NextState, candidate);
    InstantDepth++;
    FireInstantDet(q * f);
    InstantDepth--;
    if (candidates.size() > 1) {
      Model->SetState(saved.data());
    }
  }
}
