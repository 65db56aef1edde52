#include "generator/Reward.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "common/PrintableText.h"

OutputFile rewfile;

namespace {

template <class T>
void writeBytes(const T& value) {
  rewfile.putBytes(&value, sizeof value);
}

}  // namespace

Reward::Reward(PVModel* model, short outputType, const char* fileName,
               std::optional<int> compression)
    : RewardModel(model), OutputType(outputType) {
  if (!rewfile.open(fileName, compression)) {
    std::cerr << "Error: Could not open reward file" << std::endl
              << "  " << fileName << ": " << std::strerror(errno) << std::endl;
    std::exit(1);
  }
  for (int p = 0; p < RewardModel->NumPVs; p++) {
    const char* name = RewardModel->PVList[p]->Name;
    if (name == nullptr) {
      rewfile.setFailed(EINVAL);
      return;
    }
    rewfile.put(name);
    rewfile.put('\n');
  }
}

void Reward::Calculate(unsigned long stateNumber) {
  CheckFinite(stateNumber);
  if (IsText()) {
    WriteText(stateNumber);
  } else {
    WriteBinary(stateNumber);
  }
}

void Reward::CheckFinite(unsigned long stateNumber) const {
  for (int p = 0; p < RewardModel->NumPVs; p++) {
    const PerformanceVariableNode* node = RewardModel->PVList[p];
    const bool rateFinite = std::isfinite(node->RateReward);
    if (rateFinite && std::isfinite(node->ImpulseReward)) {
      continue;
    }
    const BaseModelClass* model =
        RewardModel->ChildModel != nullptr ? RewardModel->ChildModel : RewardModel;
    std::cerr << "Error: reward variable " << printable(node->Name != nullptr ? node->Name : "")
              << " of model " << printable(model->Name != nullptr ? model->Name : "") << " has the "
              << (rateFinite ? "impulse reward " : "rate reward ")
              << compactNumber(rateFinite ? node->ImpulseReward : node->RateReward) << " in state "
              << stateNumber << "; rewards must be finite numbers" << std::endl;
    std::exit(1);
  }
}

bool Reward::good() const { return rewfile.good(); }

int Reward::error() const { return rewfile.error(); }

std::size_t Reward::position() const { return rewfile.position(); }

bool Reward::Finish() { return rewfile.close(); }

void Reward::WriteText(unsigned long stateNumber) {
  rewfile.putUnsigned(stateNumber);
  rewfile.put('\n');
  for (int p = 0; p < RewardModel->NumPVs; p++) {
    const PerformanceVariableNode* node = RewardModel->PVList[p];
    rewfile.putGeneral(node->ImpulseReward);
    rewfile.put('\n');
    rewfile.putGeneral(node->RateReward);
    rewfile.put('\n');
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
