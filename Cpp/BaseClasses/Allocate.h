#ifndef ALLOCATE_H_
#define ALLOCATE_H_

#include <new>
#include <utility>

#include "Cpp/BaseClasses/StandardErrors.h"

// Allocation that never returns null: a failure ends the program through
// MemoryAllocationError, as everywhere in the framework.

// A new value-initialised array of n elements (zero or null for scalars and
// pointers); n = 0 still yields an array to release with delete[].
template <class T>
T* newArray(int n) {
  T* array = new (std::nothrow) T[n > 0 ? n : 1]();
  if (array == nullptr) {
    MemoryAllocationError();
  }
  return array;
}

// A new T constructed from args; release it with delete.
template <class T, class... Args>
T* newObject(Args&&... args) {
  T* object = new (std::nothrow) T(std::forward<Args>(args)...);
  if (object == nullptr) {
    MemoryAllocationError();
  }
  return object;
}

#endif
