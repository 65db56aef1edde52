#include "generator/Reward.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"

std::fstream rewfile;

namespace {

template <class T>
void writeBytes(const T& value) {
  rewfile.write(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

Reward::Reward(PVModel* model, short outputType, const char* fileName)
    : RewardModel(model), OutputType(outputType) {
  if (rewfile.is_open()) {
    rewfile.close();
  }
  rewfile.clear();
  rewfile.open(fileName, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
  if (!rewfile) {
    std::cerr << "Could not open file dude" << std::endl
              << "  " << fileName << ": " << std::strerror(errno) << std::endl;
    std::exit(1);
  }
  for (int p = 0; p < RewardModel->NumPVs; p++) {
    const char* name = RewardModel->PVList[p]->Name;
    if (name == nullptr) {
      rewfile.setstate(std::ios::failbit);
      return;
    }
    rewfile << name << '\n' << std::flush;
  }
}

void Reward::Calculate(unsigned long stateNumber) {
  if (IsText()) {
    WriteText(stateNumber);
  } else {
    WriteBinary(stateNumber);
  }
  rewfile.flush();
}

bool Reward::good() const { return !rewfile.fail(); }

void Reward::WriteText(unsigned long stateNumber) {
  rewfile << stateNumber << '\n';
  for (int p = 0; p < RewardModel->NumPVs; p++) {
    const PerformanceVariableNode* node = RewardModel->PVList[p];
    rewfile << node->ImpulseReward << '\n' << node->RateReward << '\n';
  }
}

void Reward::WriteBinary(unsigned long stateNumber) {
  writeBytes(static_cast<std::uint32_t>(stateNumber));
  for (int p = 0; p < RewardModel->NumPVs; p++) {
    const PerformanceVariableNode* node = RewardModel->PVList[p];
    writeBytes(node->ImpulseReward);
    writeBytes(node->RateReward);
  }
}
