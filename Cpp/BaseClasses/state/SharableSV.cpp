#include "Cpp/BaseClasses/state/SharableSV.h"

#include <new>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/FrameworkAssert.h"
#include "Cpp/BaseClasses/StandardErrors.h"
#include "Cpp/BaseClasses/state/MemoryCopy.h"

template <class T>
SharableSV<T>::SharableSV() : SharableSV("default") {}

template <class T>
SharableSV<T>::SharableSV(const char* name)
    : BaseStateVariableClass(name, ""),
      Value(new (std::nothrow) T()),
      Holders(nullptr),
      Owner(this) {
  if (Value == nullptr) {
    MemoryAllocationError();
  }
  registerHolder(&Value, this);
  SAN_ASSERT(Holders->getOwner(), "NextElement->getOwner()", "SharableSV");
}

template <class T>
SharableSV<T>::~SharableSV() {
  if (Stored) {
    delete Value;
  }
  while (Holders != nullptr) {
    Holder* next = Holders->Next;
    delete Holders;
    Holders = next;
  }
}

template <class T>
int SharableSV<T>::StateSize() {
  return sizeof(T);
}

template <class T>
void SharableSV<T>::SetState(void* buf) {
  readMemory2(buf, Value);
}

template <class T>
void SharableSV<T>::CurrentState(void* buf) {
  writeMemory(*Value, buf);
}

template <class T>
void SharableSV<T>::printState(std::ostream* os) {
  *os << Name << " = " << *Value << std::endl;
}

template <class T>
void SharableSV<T>::printStateVal(std::ostream* os) {
  *os << *Value;
}

template <class T>
void SharableSV<T>::share(BaseStateVariableClass* other) {
  SharableSV<T>* otherSV = dynamic_cast<SharableSV<T>*>(other);
  SAN_ASSERT(otherSV, "otherSV", "SharableSV");
  ShareWith(otherSV);
}

template <class T>
void SharableSV<T>::appendAffectingAction(BaseActionClass* action) {
  // Only the owner's chain lists the group's variables.
  if (Owner != this) {
    Owner->appendAffectingAction(action);
    return;
  }
  for (Holder* h = Holders; h != nullptr; h = h->Next) {
    if (h->Owner != nullptr) {
      h->Owner->AffectingActions->append(action);
    }
  }
}

template <class T>
void SharableSV<T>::ShareWith(SharableSV<T>* other) {
  // Sharing twice within one group would make an owner absorb itself.
  if (Owner == other->Owner) {
    return;
  }
  SharingChanges++;
  SharableSV<T>* absorbed;
  if (Stored && other->Stored) {
    *Value = *other->Value;
    absorbed = other;
    absorb(other);
  } else if (other->Stored) {
    absorbed = other;
    Owner->absorb(other);
  } else if (Stored) {
    absorbed = this;
    other->Owner->absorb(this);
  } else if (SharingCount <= other->Owner->SharingCount) {
    absorbed = Owner;
    other->Owner->absorb(Owner);
  } else {
    absorbed = other->Owner;
    Owner->absorb(other->Owner);
  }
  // Actions name the stored owner of the group instead of other, or of the
  // variable that has just stopped being stored.
  Owner->renameInActions(other);
  if (absorbed != other) {
    Owner->renameInActions(absorbed);
  }
}

template <class T>
void SharableSV<T>::renameInActions(SharableSV<T>* member) {
  for (int i = 0; i < AffectingActions->getNumItems(); i++) {
    AffectingActions->getItem(i)->AffectedSVs.replaceItem(member, this);
  }
  for (int i = 0; i < EnabledActions->getNumItems(); i++) {
    EnabledActions->getItem(i)->EnablingSVs.replaceItem(member, this);
  }
}

template <class T>
void SharableSV<T>::addHolder(T** address, int uses) {
  *address = Value;
  Owner->registerHolder(address, nullptr, uses);
}

template <class T>
void SharableSV<T>::registerHolder(T** address, SharableSV<T>* owner, int uses) {
  Holder* holder = new (std::nothrow) Holder{address, owner, Holders};
  if (holder == nullptr) {
    MemoryAllocationError();
  }
  Holders = holder;
  SharingCount += uses;
}

template <class T>
void SharableSV<T>::absorb(SharableSV<T>* other) {
  SAN_ASSERT(other->Holders, "TheOtherPointer->getHead()", "SharableSV");
  if (other->Stored) {
    delete other->Value;
  }
  // other's chain names other itself and, when other owned a group, its
  // members: all of them now belong to this owner and use its cell.
  Holder* last = nullptr;
  for (Holder* h = other->Holders; h != nullptr; h = h->Next) {
    *h->Address = Value;
    if (h->Owner != nullptr) {
      h->Owner->Owner = this;
    }
    last = h;
  }
  adoptLists(other);
  other->Shared = true;
  other->Stored = false;
  last->Next = Holders;
  Holders = other->Holders;
  other->Holders = nullptr;
  SharingCount += other->SharingCount;
  Shared = true;
}

template <class T>
void SharableSV<T>::adoptLists(SharableSV<T>* other) {
  SAN_ASSERT(AffectingActions, "SVAffectingActions", "SharableSV");
  SAN_ASSERT(EnabledActions, "SVEnabledActions", "SharableSV");
  AffectingActions->append(other->AffectingActions);
  EnabledActions->append(other->EnabledActions);
  if (other->Stored) {
    delete other->AffectingActions;
    delete other->EnabledActions;
  }
  for (Holder* h = other->Holders; h != nullptr; h = h->Next) {
    if (h->Owner != nullptr) {
      h->Owner->AffectingActions = AffectingActions;
      h->Owner->EnabledActions = EnabledActions;
    }
  }
}

template class SharableSV<short>;
