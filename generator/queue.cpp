#include "generator/queue.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>

#include "Cpp/BaseClasses/StandardErrors.h"

namespace {

const unsigned long kGrowthStep = 5000;  // slots added per growth

}  // namespace

Queue::Queue(unsigned long elementSize)
    : Capacity(kGrowthStep),
      ElementSize(elementSize),
      Front(1),
      Back(0),
      Count(0),
      SlotsAllocated(0),
      Generation(1),
      Slots(allocateSlots(kGrowthStep)) {}

Queue::~Queue() {
  for (unsigned long i = 0; i < Capacity; i++) {
    releaseSlot(Slots[i]);
  }
  delete[] Slots;
}

state_struct** Queue::allocateSlots(unsigned long capacity) {
  state_struct** slots = new (std::nothrow) state_struct*[capacity];
  if (slots == nullptr) {
    std::cout << "Error out of memory" << std::endl;
    std::exit(1);
  }
  for (SlotsAllocated = 0; SlotsAllocated < capacity; SlotsAllocated++) {
    state_struct* slot = new (std::nothrow) state_struct{nullptr, 0};
    char* buffer = new (std::nothrow) char[ElementSize]();
    if (slot == nullptr || buffer == nullptr) {
      MemoryAllocationError();
    }
    slot->state = buffer;
    slots[SlotsAllocated] = slot;
  }
  return slots;
}

void Queue::releaseSlot(state_struct* slot) {
  if (slot != nullptr) {
    delete[] slot->state;
    delete slot;
  }
}

state_struct* Queue::Enqueue(const state_struct* s) {
  if (Count == Capacity) {
    MakeLarger(s);
    return Slots[Back];
  }
  Count++;
  Increment(Back);
  state_struct* slot = Slots[Back];
  if (slot->state == nullptr) {
    std::cerr << " Error: queue pointer is null...exiting " << std::endl;
    std::exit(1);
  }
  std::memcpy(slot->state, s->state, ElementSize);
  slot->number = s->number;
  return slot;
}

state_struct* Queue::Dequeue() {
  if (Count == 0) {
    return nullptr;
  }
  state_struct* slot = Slots[Front];
  Count--;
  Increment(Front);
  if (slot == nullptr) {
    std::cout << "warning, returning NULL" << std::endl;
  }
  return slot;
}

void Queue::MakeLarger(const state_struct* s) {
  Generation++;
  unsigned long newCapacity = Generation * kGrowthStep;
  state_struct** newSlots = allocateSlots(newCapacity);
  // The queue is full, so every old slot holds an element: copy them oldest
  // first into slots 1, 2, ... of the new array.
  unsigned long moved = 0;
  for (unsigned long from = Front; moved < Count; Increment(from)) {
    const state_struct* old = Slots[from];
    if (old == nullptr) {
      std::cout << "warning, returning NULL" << std::endl;
      break;
    }
    moved++;
    std::memcpy(newSlots[moved]->state, old->state, ElementSize);
    newSlots[moved]->number = old->number;
  }
  for (unsigned long i = 0; i < Capacity; i++) {
    releaseSlot(Slots[i]);
  }
  delete[] Slots;
  Slots = newSlots;
  Front = 1;
  Back = moved;
  Count = moved;
  Capacity = newCapacity;
  Enqueue(s);
}

void Queue::Increment(unsigned long& index) const {
  index++;
  if (index == Capacity) {
    index = 0;
  }
}

void Queue::Make_Empty() {
  Front = 1;
  Back = 0;
  Count = 0;
}

void Queue::Print() const {
  unsigned long index = Back;
  for (unsigned long n = 0; n < Count; n++) {
    const char* state = Slots[index]->state;
    for (unsigned long i = 0; i < ElementSize; i++) {
      std::cout << static_cast<int>(static_cast<signed char>(state[i])) << ' ';
    }
    std::cout << '\n';
    index = (index == 0 ? Capacity : index) - 1;
  }
}
