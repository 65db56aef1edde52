#ifndef FUZZTARGET_H_
#define FUZZTARGET_H_

#include <cstddef>
#include <cstdint>

// The entry point every fuzz target defines: libFuzzer calls it with each
// input it makes up, the replay driver with each stored input. It returns 0;
// a fault (crash, leak, undefined behaviour, hang) is the only failure.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

#endif
