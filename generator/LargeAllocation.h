#ifndef LARGEALLOCATION_H_
#define LARGEALLOCATION_H_

#include <cstddef>

// Zero-filled memory for the generator's large arrays (the state store's
// table and vector blocks, the queue). Where the system offers it, the
// memory is backed by large pages: the first touch of every 4 KB page is
// costly, and a state space touches gigabytes. Release with freeLarge.
// Returns null when the memory is not available.
void* allocateLarge(std::size_t bytes);
void freeLarge(void* memory);

#endif
