#include "generator/queue.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>

#include "generator/LargeAllocation.h"

namespace {

const unsigned long kInitialCapacity = 5000;

}  // namespace

Queue::Queue(unsigned long elementSize)
    : Capacity(0),
      ElementSize(elementSize),
      Front(0),
      Count(0),
      Vectors(nullptr),
      Numbers(nullptr),
      Enqueued{nullptr, 0},
      Dequeued{nullptr, 0} {
  allocate(kInitialCapacity);
}

Queue::~Queue() {
  freeLarge(Vectors);
  freeLarge(Numbers);
}

void Queue::allocate(unsigned long capacity) {
  Vectors = static_cast<char*>(allocateLarge(capacity, ElementSize));
  Numbers = static_cast<unsigned long*>(allocateLarge(capacity, sizeof(unsigned long)));
  if (Vectors == nullptr || Numbers == nullptr) {
    std::cerr << "Error out of memory" << std::endl;
    std::exit(1);
  }
  Capacity = capacity;
}

state_struct* Queue::hand(state_struct& out, unsigned long index) {
  out.state = Vectors + index * ElementSize;
  out.number = Numbers[index];
  return &out;
}

state_struct* Queue::Enqueue(const state_struct* s) {
  if (Count == Capacity) {
    MakeLarger(s);
    return hand(Enqueued, (Front + Count - 1) % Capacity);
  }
  unsigned long back = Front + Count;
  if (back >= Capacity) {
    back -= Capacity;
  }
  std::memcpy(Vectors + back * ElementSize, s->state, ElementSize);
  Numbers[back] = s->number;
  Count++;
  return hand(Enqueued, back);
}

state_struct* Queue::Dequeue() {
  if (Count == 0) {
    return nullptr;
  }
  state_struct* oldest = hand(Dequeued, Front);
  Increment(Front);
  Count--;
  return oldest;
}

void Queue::MakeLarger(const state_struct* s) {
  char* oldVectors = Vectors;
  unsigned long* oldNumbers = Numbers;
  const unsigned long oldCapacity = Capacity;
  allocate(2 * oldCapacity);
  // The queued elements move to the start of the new storage, oldest first.
  const unsigned long firstPart = oldCapacity - Front;
  std::memcpy(Vectors, oldVectors + Front * ElementSize, firstPart * ElementSize);
  std::memcpy(Vectors + firstPart * ElementSize, oldVectors, Front * ElementSize);
  std::memcpy(Numbers, oldNumbers + Front, firstPart * sizeof(unsigned long));
  std::memcpy(Numbers + firstPart, oldNumbers, Front * sizeof(unsigned long));
  freeLarge(oldVectors);
  freeLarge(oldNumbers);
  Front = 0;
  Enqueue(s);
}

void Queue::Increment(unsigned long& index) const {
  index++;
  if (index == Capacity) {
    index = 0;
  }
}

void Queue::Make_Empty() {
  Front = 0;
  Count = 0;
}

void Queue::Print() const {
  for (unsigned long k = Count; k-- > 0;) {
    const char* vector = Vectors + ((Front + k) % Capacity) * ElementSize;
    for (unsigned long i = 0; i < ElementSize; i++) {
      std::cout << static_cast<int>(static_cast<signed char>(vector[i])) << ' ';
    }
    std::cout << '\n';
  }
}
