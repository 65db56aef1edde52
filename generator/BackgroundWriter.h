#ifndef BACKGROUNDWRITER_H_
#define BACKGROUNDWRITER_H_

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <thread>

// Writes blocks of bytes to a file on a thread of its own, one block at a
// time and in the order they were handed over, so that the generator goes
// on exploring while the system copies its output. The file stays the
// caller's: it may be used directly whenever wait() has returned.
class BackgroundWriter {
 public:
  explicit BackgroundWriter(std::FILE* file);
  // Waits for the last block, then ends the thread.
  ~BackgroundWriter();
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  // Waits until the previous block is written, then hands over this one:
  // the caller must leave the count bytes at data alone until the next
  // write or wait returns.
  void write(const char* data, std::size_t count);
  // Waits until every block handed over is written.
  void wait();
  // True once a block could not be written completely.
  bool failed() const { return Failed; }

 private:
  void run();

  std::FILE* File;
  std::mutex Lock;
  std::condition_variable Changed;
  const char* Pending = nullptr;  // the block being written, guarded by Lock
  std::size_t PendingCount = 0;
  bool Stopping = false;
  std::atomic<bool> Failed{false};
  std::thread Thread;  // last: starts once the members above are ready
};

#endif
