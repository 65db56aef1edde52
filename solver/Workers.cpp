#include "solver/Workers.h"

namespace solver {

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
  std::unique_lock<std::mutex> hold(Lock);
  Finished.wait(hold, [this] { return Running == 0; });
  Task = nullptr;
}

void Workers::serve(unsigned index) {
  unsigned long seen = 0;
  for (;;) {
    const std::function<void(unsigned)>* task;
    {
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
