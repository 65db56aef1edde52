#ifndef QUEUE_H_
#define QUEUE_H_

#include "generator/state_struct.h"

// First-in first-out queue of numbered, not yet explored states. The
// elements live in one circular buffer of vectors with a parallel array of
// numbers, so Enqueue and Dequeue copy at most one vector and allocate
// nothing; when full, the buffer doubles.
class Queue {
 public:
  // Room for 5000 elements of elementSize bytes.
  explicit Queue(unsigned long elementSize);
  virtual ~Queue();
  Queue(const Queue&) = delete;
  Queue& operator=(const Queue&) = delete;

  // Copies the vector and number of s into the next slot and returns that
  // slot; grows the queue first when it is full. The caller keeps s.
  state_struct* Enqueue(const state_struct* s);
  // The oldest element, or null when the queue is empty. The element stays
  // in the queue's storage and may be overwritten by a later Enqueue (which
  // may also move the storage), so the caller copies what it needs before
  // enqueuing again.
  state_struct* Dequeue();
  // Doubles the storage of the full queue, keeping the order, then enqueues s.
  void MakeLarger(const state_struct* s);
  // Advances a slot index by one, wrapping to 0 at Capacity.
  void Increment(unsigned long& index) const;
  // Forgets every element; the storage stays allocated.
  void Make_Empty();
  // Lists the queued vectors on standard output, newest first, one line each.
  void Print() const;

  unsigned long Capacity;
  unsigned long ElementSize;
  unsigned long Front;  // oldest element
  unsigned long Count;
  char* Vectors;           // Capacity vectors of ElementSize bytes, owned
  unsigned long* Numbers;  // Capacity numbers, owned

 private:
  // Points out (handed to the caller) at the element in slot index.
  state_struct* hand(state_struct& out, unsigned long index);
  // Allocates storage for capacity elements; ends the run when memory is out.
  void allocate(unsigned long capacity);

  // What Enqueue and Dequeue return; separate, so that an enqueue leaves
  // the record of the last dequeue alone.
  state_struct Enqueued;
  state_struct Dequeued;
};

#endif
