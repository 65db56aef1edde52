#ifndef MEMORYCOPY_H_
#define MEMORYCOPY_H_

#include <cstring>

// Byte-exact copies between typed values and the untyped state vector, in
// the machine's byte order and without alignment requirements. Used with
// bool, char, short, int, float and double.

// Copies n values from src to dst.
template <class T>
void writeArray(T* src, void* dst, int n) {
  std::memcpy(dst, src, n * sizeof(T));
}

// Copies n values from src to dst.
template <class T>
void readArray(T* dst, void* src, int n) {
  std::memcpy(dst, src, n * sizeof(T));
}

// Stores one value at dst.
template <class T>
void writeMemory(T value, void* dst) {
  std::memcpy(dst, &value, sizeof(T));
}

// Loads one value from src.
template <class T>
void readMemory2(void* src, T* dst) {
  std::memcpy(dst, src, sizeof(T));
}

#endif
