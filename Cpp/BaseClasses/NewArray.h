#ifndef NEWARRAY_H_
#define NEWARRAY_H_

#include <new>

#include "Cpp/BaseClasses/StandardErrors.h"

// A new array of n value-initialised T (null pointers, zeros, default
// objects); the caller releases it with delete[]. The framework cannot go on
// without its tables, so a failed allocation ends the program through
// MemoryAllocationError.
template <class T>
T* NewArray(int n) {
  T* array = new (std::nothrow) T[n]();
  if (array == nullptr) {
    MemoryAllocationError();
  }
  return array;
}

#endif
