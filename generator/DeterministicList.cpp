#include "generator/DeterministicList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <new>

#include "Cpp/BaseClasses/FrameworkAssert.h"
#include "Cpp/BaseClasses/StandardErrors.h"

namespace {

const int kDefaultStateCapacity = 10;

// Solvers read the binary file as little-endian whatever the host order.
void writeLittleEndian(std::ostream& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; i++) {
    out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

void writeInt32(std::ostream& out, int value) {
  writeLittleEndian(out, static_cast<std::uint32_t>(value), 4);
}

void writeDouble(std::ostream& out, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  writeLittleEndian(out, bits, 8);
}

int* allocateStates(int n) {
  int* states = new (std::nothrow) int[n];
  if (states == nullptr) {
    MemoryAllocationError();
  }
  return states;
}

// Doubling a capacity of 0 would never make room.
int doubled(int capacity) { return capacity > 0 ? 2 * capacity : 1; }

}  // namespace

RateInfoType::RateInfoType() : RateInfoType(kDefaultStateCapacity, 0.0) {}

RateInfoType::RateInfoType(int n, double value)
    : NumStates(0),
      StateCapacity(n),
      DelayValue(value),
      States(allocateStates(n)),
      OwnsStates(true) {}

RateInfoType::~RateInfoType() {
  if (OwnsStates) {
    delete[] States;
  }
}

void RateInfoType::insertState(int state) {
  if (NumStates == StateCapacity) {
    increaseStateList(doubled(StateCapacity));
  }
  States[NumStates++] = state;
}

void RateInfoType::increaseStateList(int n) {
  SAN_ASSERT(n >= static_cast<int>(NumStates), "n >= NumStates", "DeterministicList.cpp");
  int* grown = allocateStates(n);
  std::copy(States, States + NumStates, grown);
  if (OwnsStates) {
    delete[] States;
  }
  States = grown;
  OwnsStates = true;
  StateCapacity = n;
}

void RateInfoType::takeOver(RateInfoType& other) {
  if (OwnsStates) {
    delete[] States;
  }
  NumStates = other.NumStates;
  StateCapacity = other.StateCapacity;
  DelayValue = other.DelayValue;
  States = other.States;
  OwnsStates = other.OwnsStates;
  other.OwnsStates = false;
}

void RateInfoType::writeStates(std::ostream& out, OutputFileType type) const {
  if (type == TextFile) {
    out << DelayValue << '\n';
    for (unsigned int i = 0; i < NumStates; i++) {
      out << States[i] << '\n';
    }
    out << 0 << '\n';
  } else {
    writeDouble(out, DelayValue);
    for (unsigned int i = 0; i < NumStates; i++) {
      writeInt32(out, States[i]);
    }
    // A 4-byte 0 ends the list: 2 bytes of 0 would also start state 65536's number.
    writeInt32(out, 0);
  }
}

void RateInfoType::printStates() const {
  for (unsigned int i = 0; i < NumStates; i++) {
    std::cout << "[" << i << "] " << States[i] << '\n';
  }
}

DeterministicList::DeterministicList() : DeterministicList(2) {}

DeterministicList::DeterministicList(int n)
    : RateInfoSize(0), RateInfoCapacity(0), RateInfoList(nullptr) {
  increaseRateInfoSize(n);
}

DeterministicList::~DeterministicList() { delete[] RateInfoList; }

void DeterministicList::insertEnablingState(int state, double value) {
  for (int i = 0; i < RateInfoSize; i++) {
    if (RateInfoList[i].DelayValue == value) {
      RateInfoList[i].insertState(state);
      return;
    }
  }
  if (RateInfoSize == RateInfoCapacity) {
    increaseRateInfoSize(doubled(RateInfoCapacity));
  }
  RateInfoType& entry = RateInfoList[RateInfoSize++];
  entry.DelayValue = value;
  entry.insertState(state);
}

void DeterministicList::increaseRateInfoSize(int n) {
  SAN_ASSERT(n >= RateInfoSize, "n >= RateInfoSize", "DeterministicList.cpp");
  RateInfoType* grown = new (std::nothrow) RateInfoType[n];
  if (grown == nullptr) {
    MemoryAllocationError();
  }
  for (int i = 0; i < std::min(n, RateInfoCapacity); i++) {
    grown[i].takeOver(RateInfoList[i]);
  }
  delete[] RateInfoList;
  RateInfoList = grown;
  RateInfoCapacity = n;
}

void DeterministicList::writeEnablingStates(std::ostream& out, OutputFileType type) const {
  if (type == TextFile) {
    out << RateInfoSize << '\n';
  } else {
    writeInt32(out, RateInfoSize);
  }
  for (int i = 0; i < RateInfoSize; i++) {
    RateInfoList[i].writeStates(out, type);
  }
}

void DeterministicList::printEnablingStates() const {
  const char* rule = "-----------------------------------";
  std::cout << rule << '\n';
  for (int i = 0; i < RateInfoSize; i++) {
    std::cout << "RateInfoSize = " << RateInfoSize << '\n';
    std::cout << "RateInfoCapacity = " << RateInfoCapacity << '\n';
    std::cout << "Value = " << RateInfoList[i].DelayValue << '\n';
    RateInfoList[i].printStates();
  }
  std::cout << rule << '\n';
}
