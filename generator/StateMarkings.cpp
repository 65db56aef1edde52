#include "generator/StateMarkings.h"

#include <cstring>
#include <map>
#include <unordered_map>

#include "Cpp/BaseClasses/NetSAN.h"
#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/state/SharableSV.h"
#include "Cpp/Composer/BaseComposerClass.h"

namespace {

// The names the ".states" header gives: each stored place by its marking
// cell (a shared place by its stored owner, the composer that writes it),
// and the prefix of each atomic model, which names its Erlang phases.
struct Naming {
  std::unordered_map<const short*, std::string> cells;
  std::unordered_map<const BaseModelClass*, std::string> prefixes;
};

void nameStored(BaseStateVariableClass* variable, const std::string& prefix, Naming& names) {
  const auto* place = dynamic_cast<SharableSV<short>*>(variable);
  if (place != nullptr && variable->getStored()) {
    names.cells[place->Value] = prefix + variable->Name;
  }
}

void nameCells(BaseModelClass* model, const std::string& prefix, Naming& names);

// Children named alike (the replicas of one submodel) get "[i]", from 1.
void nameChildren(const BaseComposerClass& composer, const std::string& prefix, Naming& names) {
  std::map<std::string, int> uses;
  for (int i = 0; i < composer.NumChildren; i++) {
    uses[composer.Children[i]->Name]++;
  }
  std::map<std::string, int> seen;
  for (int i = 0; i < composer.NumChildren; i++) {
    BaseModelClass* child = composer.Children[i];
    std::string label = child->Name;
    if (uses[label] > 1) {
      label += "[" + std::to_string(++seen[label]) + "]";
    }
    nameCells(child, prefix + label + ".", names);
  }
}

void nameCells(BaseModelClass* model, const std::string& prefix, Naming& names) {
  if (auto* rewards = dynamic_cast<PVModel*>(model)) {
    nameCells(rewards->ChildModel, prefix, names);
  } else if (auto* san = dynamic_cast<SANModel*>(model)) {
    names.prefixes[san] = prefix;
    for (int i = 0; i < san->NumLocalPlaces(); i++) {
      nameStored(san->Places[i], prefix, names);
    }
  } else if (auto* composer = dynamic_cast<BaseComposerClass*>(model)) {
    nameChildren(*composer, prefix, names);
    for (int i = 0; i < composer->AddedSharedPtrs; i++) {
      nameStored(composer->SharedPtrs[i], prefix, names);
    }
  }
}

// The root of the marking: the reward model forwards its state to its child.
BaseModelClass* markedModel(BaseModelClass* model) {
  auto* rewards = dynamic_cast<PVModel*>(model);
  return rewards != nullptr ? rewards->ChildModel : model;
}

}  // namespace

bool StateMarkings::Describe(BaseModelClass* model, unsigned int stateSize) {
  // A net loads its places itself, without marking cells; it names them.
  if (auto* net = dynamic_cast<NetSAN*>(markedModel(model))) {
    Names = net->storedPlaceLabels();
    return Names.size() * sizeof(short) == stateSize;
  }
  std::vector<short*> cells;
  if (!markedModel(model)->AppendMarkingCells(cells)) {
    return false;
  }
  Naming names;
  nameCells(model, "", names);
  Names.clear();
  for (const short* cell : cells) {
    const auto found = names.cells.find(cell);
    if (found == names.cells.end()) {
      return false;
    }
    Names.push_back(found->second);
  }
  // The reward model keeps each Erlang activity's phase after the marking.
  if (auto* rewards = dynamic_cast<PVModel*>(model)) {
    for (const BaseActionClass* action : rewards->PhasedActions) {
      Names.push_back(names.prefixes[action->OwnerModel] + action->Name + ".phase");
    }
  }
  return Names.size() * sizeof(short) == stateSize;
}

bool StateMarkings::Open(const char* name, std::optional<int> compression) {
  if (!File.open(name, compression)) {
    return false;
  }
  File.put("state");
  for (const std::string& variable : Names) {
    File.put(' ');
    File.put(variable.c_str());
  }
  File.put('\n');
  return true;
}

std::string StateMarkings::Listing(const char* state) const {
  std::string listing;
  for (size_t i = 0; i < Names.size(); i++) {
    short marking;
    std::memcpy(&marking, state + i * sizeof(short), sizeof(short));
    listing += (i ? " " : "") + Names[i] + "=" + std::to_string(marking);
  }
  return listing;
}

void StateMarkings::Write(unsigned long number, const char* state) {
  File.putUnsigned(number);
  for (size_t i = 0; i < Names.size(); i++) {
    short marking;
    std::memcpy(&marking, state + i * sizeof(short), sizeof(short));
    File.put(' ');
    File.putSigned(marking);
  }
  File.put('\n');
}
