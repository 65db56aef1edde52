#ifndef LARGEALLOCATION_H_
#define LARGEALLOCATION_H_

#include <cstddef>

// Zero-filled memory for the generator's large arrays (the state store's
// table and vector blocks, the queue). Where the system offers it, the
// memory is backed by large pages: the first touch of every 4 KB page is
// costly, and a state space touches gigabytes. Release with freeLarge.
// Room for count elements of size bytes; null when the memory is not
// available or the product does not fit a size_t.
void* allocateLarge(std::size_t count, std::size_t size);
void freeLarge(void* memory);

#endif
