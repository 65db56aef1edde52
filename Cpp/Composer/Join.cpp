#include "Cpp/Composer/Join.h"

#include <cstdint>
#include <cstring>

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/FrameworkAssert.h"
#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"
#include "Cpp/BaseClasses/state/SharableSV.h"

namespace {

// Number of distinct names among the actions.
int distinctNames(BaseActionClass* const* actions, int n) {
  int distinct = 0;
  for (int i = 0; i < n; i++) {
    int first = 0;
    while (std::strcmp(actions[first]->Name, actions[i]->Name) != 0) {
      first++;
    }
    if (first == i) {
      distinct++;
    }
  }
  return distinct;
}

}  // namespace

// A join's local state is only ever used with its own join.
Join::LocalState::LocalState(Join* join) : ByteState(join->SharedStateSize(), "Join.cpp") {}

void Join::LocalState::SetState(BaseModelClass* join) const {
  static_cast<Join*>(join)->SetSharedState(StatePtr);
}

void Join::LocalState::GetState(BaseModelClass* join) {
  static_cast<Join*>(join)->CurrentSharedState(StatePtr);
}

Join::Join(const char* name, int numChildren, int numShared, const char* const* sharedNames)
    : BaseComposerClass(name, numChildren, numShared, sharedNames),
      ActionHashSize(0),
      ActionNames(nullptr),
      ActionNameCounts(nullptr),
      ChildStateSizes(nullptr) {}

Join::~Join() {
  delete[] ActionNames;
  delete[] ActionNameCounts;
  delete[] ChildStateSizes;
}

void Join::Setup() {
  GeneralSetup();
  delete[] ChildStateSizes;
  ChildStateSizes = newArray<int>(NumChildren);
  for (int i = 0; i < NumChildren; i++) {
    ChildStateSizes[i] = Children[i]->StateSize();
  }
  HashActions();
}

int Join::StateSize() {
  int size = SharedStateSize();
  for (int i = 0; i < NumChildren; i++) {
    size += Children[i]->StateSize();
  }
  return size;
}

void Join::CurrentState(void* buf) {
  if (Layout.upToDate(*this).usable()) {
    Layout.write(buf);
    return;
  }
  char* at = static_cast<char*>(buf);
  for (int i = 0; i < NumChildren; i++) {
    Children[i]->CurrentState(at);
    at += ChildStateSizes[i];
  }
  CurrentSharedState(at);
}

void Join::SetState(void* buf) {
  if (Layout.upToDate(*this).usable()) {
    Layout.read(buf);
    return;
  }
  char* at = static_cast<char*>(buf);
  for (int i = 0; i < NumChildren; i++) {
    Children[i]->SetState(at);
    at += ChildStateSizes[i];
  }
  SetSharedState(at);
}

bool Join::AppendMarkingCells(std::vector<short*>& cells) {
  if (ChildStateSizes == nullptr) {
    return false;  // not set up yet
  }
  for (int i = 0; i < NumChildren; i++) {
    const size_t before = cells.size();
    if (!Children[i]->AppendMarkingCells(cells) ||
        (cells.size() - before) * sizeof(short) != static_cast<size_t>(ChildStateSizes[i])) {
      return false;
    }
  }
  for (int i = 0; i < AddedSharedPtrs; i++) {
    if (!SharedPtrs[i]->getStored()) {
      continue;
    }
    SharableSV<short>* place = dynamic_cast<SharableSV<short>*>(SharedPtrs[i]);
    if (place == nullptr) {
      return false;
    }
    cells.push_back(place->Value);
  }
  return true;
}

void Join::shareWithChild(BaseStateVariableClass* shared, BaseStateVariableClass* childVariable,
                          BaseModelClass* child) {
  if (child->NumStateVariables > 0) {
    shared->share(childVariable);
    addSharingInfo(childVariable, shared, child);
  }
}

int Join::GetModelType() { return 2; }

void Join::GetLocalActions(std::forward_list<BaseActionClass*>&) {
  SAN_ASSERT(false, "false", "Join.cpp");
}

void Join::GetGlobalActions(std::forward_list<BaseActionClass*>&) {
  SAN_ASSERT(false, "false", "Join.cpp");
}

void Join::printState(std::ostream* os) {
  *os << "Model: (" << ModelId << ")" << Name << std::endl;
  for (int i = 0; i < NumChildren; i++) {
    Children[i]->printState(os);
  }
  *os << "Shared Variables:" << std::endl;
  for (int i = 0; i < AddedSharedPtrs; i++) {
    if (SharedPtrs[i]->getStored()) {
      *os << "  ";
      SharedPtrs[i]->printState(os);
    }
  }
}

bool Join::HasLocalState() { return SharedStateSize() > 0; }

void Join::GetLocalState(State* s) { s->GetState(this); }

void Join::SetLocalState(const State* s) { s->SetState(this); }

void Join::ConstructLocalState(State*& out) { out = newObject<LocalState>(this); }

void Join::DestructLocalState(State* s) { delete s; }

unsigned int Join::Hash(const char* s, int size) {
  if (size < 1) {
    return 0;
  }
  std::uint32_t v = 0;
  for (; *s != '\0'; s++) {
    v = static_cast<std::uint32_t>(static_cast<signed char>(*s)) + (v << 5);
  }
  return v % static_cast<std::uint32_t>(size);
}

void Join::HashActions() {
  delete[] ActionNames;
  delete[] ActionNameCounts;
  ActionHashSize = 4 * distinctNames(Actions, NumActions);
  ActionNames = newArray<const char*>(ActionHashSize);
  ActionNameCounts = newArray<int>(ActionHashSize);
  for (int i = 0; i < NumActions; i++) {
    int slot = findSlot(Actions[i]->Name);
    ActionNames[slot] = Actions[i]->Name;
    ActionNameCounts[slot]++;
  }
}

int Join::findSlot(const char* name) const {
  auto fits = [&](std::uint32_t slot) {
    return ActionNames[slot] == nullptr || std::strcmp(ActionNames[slot], name) == 0;
  };
  const std::uint32_t size = static_cast<std::uint32_t>(ActionHashSize);
  const std::uint32_t h = Hash(name, ActionHashSize);
  // Quadratic probing: h, h+1, h-1, h+4, h-4, ... Its offsets repeat after
  // size steps, and for some sizes they miss free slots; the linear scan then
  // finds one (at most a quarter of the slots are ever taken).
  for (std::uint32_t k = 0; k < size; k++) {
    std::uint32_t square = k * k;
    if (fits((h + square) % size)) {
      return static_cast<int>((h + square) % size);
    }
    if (k > 0 && fits((h - square) % size)) {
      return static_cast<int>((h - square) % size);
    }
  }
  std::uint32_t slot = 0;
  while (!fits(slot)) {
    slot++;
  }
  return static_cast<int>(slot);
}
