#ifndef QUEUE_H_
#define QUEUE_H_

#include "generator/state_struct.h"

// First-in first-out queue of numbered, not yet explored states, kept as a
// circular buffer of pre-allocated slots so that Enqueue and Dequeue never
// allocate. When full it grows by 5000 slots.
class Queue {
 public:
  // Allocates 5000 slots, each with a buffer of elementSize bytes.
  explicit Queue(unsigned long elementSize);
  virtual ~Queue();
  Queue(const Queue&) = delete;
  Queue& operator=(const Queue&) = delete;

  // Copies the vector and number of s into the next slot and returns that
  // slot; grows the queue first when it is full. The caller keeps s.
  state_struct* Enqueue(const state_struct* s);
  // The oldest element, or null when the queue is empty. The slot stays the
  // queue's and may be overwritten by a later Enqueue once the queue wraps,
  // so the caller copies what it needs before enqueuing again.
  state_struct* Dequeue();
  // Grows the full queue by 5000 slots, keeping the order, then enqueues s.
  void MakeLarger(const state_struct* s);
  // Advances a slot index by one, wrapping to 0 at Capacity.
  void Increment(unsigned long& index) const;
  // Forgets every element; the slots stay allocated.
  void Make_Empty();
  // Lists the queued vectors on standard output, newest first, one line each.
  void Print() const;

  unsigned long Capacity;
  unsigned long ElementSize;
  unsigned long Front;  // oldest element; 1 when empty
  unsigned long Back;   // newest element; 0 when empty
  unsigned long Count;
  unsigned long SlotsAllocated;  // slots allocated so far while filling a slot array
  unsigned long Generation;      // Capacity = Generation x 5000
  state_struct** Slots;          // owned, with every slot and its buffer

 private:
  // A new array of capacity slots, each with its buffer; counts them in
  // SlotsAllocated.
  state_struct** allocateSlots(unsigned long capacity);
  static void releaseSlot(state_struct* slot);
};

#endif
