#include "generator/BackgroundWriter.h"

BackgroundWriter::BackgroundWriter(std::FILE* file)
    : File(file), Thread(&BackgroundWriter::run, this) {}

BackgroundWriter::~BackgroundWriter() {
  {
    std::unique_lock<std::mutex> guard(Lock);
    Changed.wait(guard, [this] { return Pending == nullptr; });
    Stopping = true;
  }
  Changed.notify_all();
  Thread.join();
}

void BackgroundWriter::write(const char* data, std::size_t count) {
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
    if (std::fwrite(data, 1, count, File) != count) {
      Failed = true;
    }
    guard.lock();
    Pending = nullptr;
    Changed.notify_all();
  }
}
