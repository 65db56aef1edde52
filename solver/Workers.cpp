#include "solver/Workers.h"

#include <chrono>

namespace solver {

namespace {

const std::chrono::microseconds kSpin(200);

// Waits up to kSpin for done(), yielding the processor meanwhile.
template <class Done>
void spinFor(Done done) {
  const auto end = std::chrono::steady_clock::now() + kSpin;
  while (!done() && std::chrono::steady_clock::now() < end) {
    std::this_thread::yield();
  }
}

}  // namespace

Workers::Workers(unsigned count) {
  for (unsigned i = 1; i < count; i++) {
    Threads.emplace_back([this, i] { serve(i); });
  }
}

Workers::~Workers() {
  {
    std::lock_guard<std::mutex> hold(Lock);
    Closing = true;
  }
  Started.notify_all();
  for (std::thread& thread : Threads) {
    thread.join();
  }
}

void Workers::run(const std::function<void(unsigned)>& task) {
  if (Threads.empty()) {
    task(0);
    return;
  }
  {
    std::lock_guard<std::mutex> hold(Lock);
    Task = &task;
    Running = static_cast<unsigned>(Threads.size());
    Generation++;
  }
  Started.notify_all();
  task(0);
  const auto finished = [this] { return Running.load() == 0; };
  spinFor(finished);
  std::unique_lock<std::mutex> hold(Lock);
  Finished.wait(hold, finished);
  Task = nullptr;
}

void Workers::serve(unsigned index) {
  unsigned long seen = 0;
  for (;;) {
    const std::function<void(unsigned)>* task;
    {
      spinFor([&] { return Generation.load() != seen; });
      std::unique_lock<std::mutex> hold(Lock);
      Started.wait(hold, [&] { return Closing || Generation != seen; });
      if (Closing) {
        return;
      }
      seen = Generation;
      task = Task;
    }
    (*task)(index);
    {
      std::lock_guard<std::mutex> hold(Lock);
      Running--;
    }
    Finished.notify_one();
  }
}

}  // namespace solver
