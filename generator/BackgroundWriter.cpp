#include "generator/BackgroundWriter.h"

#include <cerrno>
#include <system_error>
#include <utility>

namespace {

std::thread startThread(std::function<void()> body) { return std::thread(std::move(body)); }

}  // namespace

std::thread (*BackgroundWriter::StartThread)(std::function<void()>) = startThread;

BackgroundWriter::BackgroundWriter(std::FILE* file, std::unique_ptr<Compressor> compressor)
    : File(file), Compression(std::move(compressor)) {
  try {
    Thread = StartThread([this] { run(); });
  } catch (const std::system_error&) {
    // Without a thread the output is written as it comes, which is only slower.
  }
}

BackgroundWriter::~BackgroundWriter() {
  if (!Thread.joinable()) {
    return;
  }
  {
    std::unique_lock<std::mutex> guard(Lock);
    Changed.wait(guard, [this] { return !Pending; });
    Stopping = true;
  }
  Changed.notify_all();
  Thread.join();
}

void BackgroundWriter::write(const char* data, std::size_t count, bool endFrame) {
  if (!Thread.joinable()) {
    writeBlock(data, count, endFrame);
    return;
  }
  {
    std::unique_lock<std::mutex> guard(Lock);
    Changed.wait(guard, [this] { return !Pending; });
    Pending = true;
    PendingData = data;
    PendingCount = count;
    PendingEnd = endFrame;
  }
  Changed.notify_all();
}

void BackgroundWriter::wait() {
  std::unique_lock<std::mutex> guard(Lock);
  Changed.wait(guard, [this] { return !Pending; });
}

void BackgroundWriter::run() {
  std::unique_lock<std::mutex> guard(Lock);
  for (;;) {
    Changed.wait(guard, [this] { return Pending || Stopping; });
    if (!Pending) {
      return;
    }
    const char* data = PendingData;
    const std::size_t count = PendingCount;
    const bool endFrame = PendingEnd;
    guard.unlock();
    writeBlock(data, count, endFrame);
    guard.lock();
    Pending = false;
    Changed.notify_all();
  }
}

void BackgroundWriter::writeBlock(const char* data, std::size_t count, bool endFrame) {
  int reason = 0;
  if (Compression) {
    reason = Compression->write(File, data, count, endFrame);
  } else {
    errno = 0;
    if (std::fwrite(data, 1, count, File) != count) {
      // errno belongs to the thread that wrote: keep it for the caller's message.
      reason = errno != 0 ? errno : EIO;
    }
  }
  if (reason != 0 && Error == 0) {
    Error = reason;
  }
}
