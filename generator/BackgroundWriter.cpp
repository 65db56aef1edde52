#include "generator/BackgroundWriter.h"

#include <cerrno>
#include <system_error>
#include <utility>

namespace {

std::thread startThread(std::function<void()> body) { return std::thread(std::move(body)); }

}  // namespace

std::thread (*BackgroundWriter::StartThread)(std::function<void()>) = startThread;

BackgroundWriter::BackgroundWriter(std::FILE* file) : File(file) {
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
    Changed.wait(guard, [this] { return Pending == nullptr; });
    Stopping = true;
  }
  Changed.notify_all();
  Thread.join();
}

void BackgroundWriter::write(const char* data, std::size_t count) {
  if (!Thread.joinable()) {
    writeBlock(data, count);
    return;
  }
  {
    std::unique_lock<std::mutex> guard(Lock);
    Changed.wait(guard, [this] { return Pending == nullptr; });
    Pending = data;
    PendingCount = count;
  }
  Changed.notify_all();
}

void BackgroundWriter::wait() {
  std::unique_lock<std::mutex> guard(Lock);
  Changed.wait(guard, [this] { return Pending == nullptr; });
}

void BackgroundWriter::run() {
  std::unique_lock<std::mutex> guard(Lock);
  for (;;) {
    Changed.wait(guard, [this] { return Pending != nullptr || Stopping; });
    if (Pending == nullptr) {
      return;
    }
    const char* data = Pending;
    const std::size_t count = PendingCount;
    guard.unlock();
    writeBlock(data, count);
    guard.lock();
    Pending = nullptr;
    Changed.notify_all();
  }
}

void BackgroundWriter::writeBlock(const char* data, std::size_t count) {
  errno = 0;
  if (std::fwrite(data, 1, count, File) != count && Error == 0) {
    // errno belongs to the thread that wrote: keep it for the caller's message.
    Error = errno != 0 ? errno : EIO;
  }
}
