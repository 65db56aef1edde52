#ifndef BACKGROUNDWRITER_H_
#define BACKGROUNDWRITER_H_

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "generator/Compressor.h"

// Writes blocks of bytes to a file on a thread of its own, one block at a
// time and in the order they were handed over, so that the generator goes
// on exploring while the system copies its output; with a compressor, the
// thread compresses them too. When no thread can be started (a process
// limit), every block is written on the caller's thread instead. The file
// stays the caller's: it may be used directly whenever wait() has returned.
class BackgroundWriter {
 public:
  // compressor (owned) or null for the bytes as they are.
  BackgroundWriter(std::FILE* file, std::unique_ptr<Compressor> compressor = nullptr);
  // Waits for the last block, then ends the thread.
  ~BackgroundWriter();
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  // Waits until the previous block is written, then hands over this one:
  // the caller must leave the count bytes at data alone until the next
  // write or wait returns. endFrame ends the compressed frame after it.
  void write(const char* data, std::size_t count, bool endFrame = false);
  // Waits until every block handed over is written.
  void wait();
  // True once a block could not be written completely.
  bool failed() const { return Error != 0; }
  // The errno value of the first write that failed, 0 while none has.
  int error() const { return Error; }

  // Starts a thread running body; it throws std::system_error when none
  // can be had. Tests replace it to fail as a process limit would.
  static std::thread (*StartThread)(std::function<void()> body);

 private:
  void run();
  void writeBlock(const char* data, std::size_t count, bool endFrame);

  std::FILE* File;
  std::unique_ptr<Compressor> Compression;  // used on the writing thread only
  std::mutex Lock;
  std::condition_variable Changed;
  // The block being written, guarded by Lock.
  bool Pending = false;
  const char* PendingData = nullptr;
  std::size_t PendingCount = 0;
  bool PendingEnd = false;
  bool Stopping = false;
  std::atomic<int> Error{0};
  std::thread Thread;  // not joinable when blocks are written on the caller's thread
};

#endif
