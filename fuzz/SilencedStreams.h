#ifndef SILENCEDSTREAMS_H_
#define SILENCEDSTREAMS_H_

#include <iostream>
#include <streambuf>

// Discards what the code under test prints on the standard streams while it
// lives: the messages are not what a fuzz target checks, and writing them
// would slow every run down.
class SilencedStreams {
 public:
  SilencedStreams() : Out(std::cout.rdbuf(nullptr)), Err(std::cerr.rdbuf(nullptr)) {}
  ~SilencedStreams() {
    std::cout.rdbuf(Out);
    std::cerr.rdbuf(Err);
  }
  SilencedStreams(const SilencedStreams&) = delete;
  SilencedStreams& operator=(const SilencedStreams&) = delete;

 private:
  std::streambuf* Out;
  std::streambuf* Err;
};

#endif
