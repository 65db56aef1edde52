#include "netimport/NetgenStudy.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <utility>

#include "Cpp/BaseClasses/NetRewardModel.h"
#include "generator/CommandLine.h"

namespace {

// The files named on the command line.
std::string NetPath;     // -m
std::string TimingPath;  // -r
std::string RewardPath;  // -w

void applyNetOption(char letter, const char* value) {
  switch (letter) {
    case 'm':
      NetPath = value;
      break;
    case 'r':
      TimingPath = value;
      break;
    case 'w':
      RewardPath = value;
      break;
  }
}

const OptionExtension kNetOptions = {
    "mrw", applyNetOption,
    "netgen also takes -m<file.pnml> (required), -r<timing file>, -w<reward file>"};

// netgen links the generator's entry point unchanged, which parses the
// command line first thing: its letters are known before main runs.
const bool kNetOptionsKnown = (SetOptionExtension(&kNetOptions), true);

// The net of the run, or the end of the run with what is wrong.
LoadedNet loadOrExit() {
  if (ExpNum != 0) {
    std::cerr << "Error: netgen runs a single experiment; -B must be 0, not " << ExpNum
              << std::endl;
    std::exit(1);
  }
  if (NetPath.empty()) {
    std::cerr << "Error: no net given; name its PNML file with -m" << std::endl;
    std::exit(1);
  }
  ReadResult<LoadedNet> loaded = loadNet(NetPath, TimingPath, RewardPath);
  if (!loaded.ok()) {
    std::cerr << loaded.error.text() << std::endl;
    std::exit(1);
  }
  return std::move(*loaded.value);
}

}  // namespace

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) {
    GlobalStudyPtr = newObject<NetgenStudy>(loadOrExit());
  }
  return GlobalStudyPtr;
}

void DestructStudy() { destructSingleStudy(); }

NetgenStudy::NetgenStudy(LoadedNet loaded) : Loaded(std::move(loaded)) {
  NumExps = 1;
}

NetgenStudy::~NetgenStudy() { delete ThePVModel; }

PVModel* NetgenStudy::GetPVModel(bool expandTimeArrays) {
  delete ThePVModel;
  ThePVModel = newObject<NetRewardModel>(Loaded.net, Loaded.rewards, expandTimeArrays);
  return ThePVModel;
}

void NetgenStudy::SetGVs(int) {}

void NetgenStudy::PrintGlobalValues(int expNum) { printValuesHeading(expNum); }

void* NetgenStudy::GetGVValue(const char* name) {
  reportUnknownGV("NetgenStudy", "GetGVValue", name);
  return nullptr;
}

void NetgenStudy::OverrideGVValue(const char* name, const void*) {
  reportUnknownGV("NetgenStudy", "OverrideGVValue", name);
}
