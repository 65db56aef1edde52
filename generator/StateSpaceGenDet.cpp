// The exploration of models with deterministic activities. A deterministic
// firing contributes no rate: it records the explored state under its delay
// and, for each stable state it leads to, the negated probability of
// reaching it.

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <ostream>
#include <vector>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/BaseGroupClass.h"
#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/TraceFileContainer.h"
#include "generator/DeterministicFirings.h"
#include "generator/HybridHash.h"
#include "generator/ImpulseRewards.h"
#include "generator/OutputFile.h"
#include "generator/Reward.h"
#include "generator/StateSpaceGen.h"
#include "generator/StateSpaceLayout.h"
#include "generator/queue.h"

int GlobalDebugLevel = 0;

namespace {

const short kMaxInstantDepth = 23;

}  // namespace

void StateSpaceGen::GenStateSpaceDeterministic(const char* armName, const char* varName,
                                               const char* detName) {
  const int placeholder = state_space_layout::kDeterministicPlaceholder;
  allocateScratch();
  OutputFile detFile;
  openOutput(detFile, detName, "Error: Could not open det file ");
  OutputFile arm;
  openOutput(arm, armName, "Error: Could not open state space output file");
  const unsigned long records = exploreQueue(arm, armName, varName, placeholder, true);
  GlobalDebugLevel = 0;
  rewriteCount(arm, armName, records, placeholder);
  const bool flushed = arm.flush();
  checkWritten(flushed, armName, arm.error());
  StateStore->ReleaseTable();
  writeDeterministic(detFile, detName, DeterministicRecords);
  closeOutput(arm, armName);
  finishRewards(varName);
  closeRequestedFiles();
  releaseScratch();
}

void StateSpaceGen::WriteDeterministicFile(const char* detName, const DeterministicList& records) {
  OutputFile detFile;
  openOutput(detFile, detName, "Error: Could not open det file ");
  writeDeterministic(detFile, detName, records);
}

void StateSpaceGen::writeDeterministic(OutputFile& detFile, const char* detName,
                                       const DeterministicList& records) {
  OutputFileBuffer detBuffer(detFile);
  std::ostream det(&detBuffer);
  det.precision(10);
  det.setf(std::ios::scientific, std::ios::floatfield);
  records.writeEnablingStates(
      det, (OutputType == 2 || OutputType == 4 || OutputType == 6) ? BinaryFile : TextFile);
  closeOutput(detFile, detName);
}

void StateSpaceGen::FindNextDeterministic(char* state) {
  std::memcpy(ExploredState.data(), state, StateSize);
  Model->SetState(ExploredState.data());
  for (BaseActionClass* action : timedToAsk()) {
    Model->SetState(ExploredState.data());
    if (!action->Enabled()) {
      continue;
    }
    FiringAction = action;
    const double p = caseProbability(action);
    if (tracing(1)) {
      Traces->printf(1, "Enabled: %s", action->Name);
    }
    const bool deterministic = action->DistributionType == Deterministic;
    const double delay = deterministic ? action->ReturnDistributionParameters()[0] : 0.0;
    if (deterministic) {
      CurrentRate = -p;
      // The explored state is stored under the number being explored.
      DeterministicRecords.insertEnablingState(static_cast<int>(CurrentStateNumber), delay);
    } else {
      CurrentRate = p * timedRate(action);
    }
    if (tracing(1)) {
      Traces->printFireAction(action, 0.0);
    }
    fire(action);
    InstantDepth = 0;
    const size_t firstReached = Reached.size();
    FireInstantDet(1.0);
    if (Firings && deterministic) {
      Firings->Fired(action, delay, firstReached, Reached);
    }
  }
}

void StateSpaceGen::FireInstantDet(double f) {
  if (InstantDepth > kMaxInstantDepth) {
    std::cerr << "Error:  Maximum number of zero time transition firings exceeded"
              << "(" << kMaxInstantDepth << ")\nPossible undetermined model" << std::endl
              << "Please check the model and try again" << std::endl;
    std::exit(1);
  }
  const std::vector<BaseActionClass*>& enabled = enabledInstantaneous();
  if (enabled.empty()) {
    const double value = f * CurrentRate;
    if (tracing(4)) {
      Traces->printf(4, "The rate to this state: %f", value);
    }
    if (value != 0.0) {
      if (value > 0.0) {
        addExitRate(value);
      }
      Reached.add(NextState, value, Model->LastActionFired);
      if (Impulses) {
        Impulses->Reached(InstantDepth, value);
      }
    }
    return;
  }
  const std::vector<BaseActionClass*>& candidates =
      enabled.size() == 1 ? enabled : highestRanked(enabled);
  char* saved = savedMarking();
  if (candidates.size() > 1) {
    Model->CurrentState(saved);
  }
  for (BaseActionClass* candidate : candidates) {
    const double q = caseProbability(candidate);
    if (tracing(1)) {
      Traces->printFireAction(candidate, 0.0);
    }
    fire(candidate);
    InstantDepth++;
    FireInstantDet(q * f);
    InstantDepth--;
    if (candidates.size() > 1) {
      Model->SetState(saved);
    }
  }
}
