#ifndef SOLVER_WORKERS_H_
#define SOLVER_WORKERS_H_

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace solver {

// A fixed team of threads for the solver's matrix products: run(task) calls
// task(0) on the calling thread and task(1) ... task(count() - 1) on the
// others, and returns when all have returned. The threads wait between
// runs, so that a product of a few milliseconds does not pay for starting
// them; they spin briefly before they sleep, since the products of an
// iteration follow one another within microseconds, sooner than a sleeping
// thread wakes.
class Workers {
 public:
  // count threads in all, the caller included; at least 1.
  explicit Workers(unsigned count);
  ~Workers();
  Workers(const Workers&) = delete;
  Workers& operator=(const Workers&) = delete;

  unsigned count() const { return static_cast<unsigned>(Threads.size()) + 1; }
  // task must not throw.
  void run(const std::function<void(unsigned)>& task);

 private:
  void serve(unsigned index);

  std::vector<std::thread> Threads;
  std::mutex Lock;
  std::condition_variable Started;
  std::condition_variable Finished;
  const std::function<void(unsigned)>* Task = nullptr;
  // Read while spinning, written under Lock.
  std::atomic<unsigned long> Generation{0};
  std::atomic<unsigned> Running{0};
  bool Closing = false;
};

}  // namespace solver

#endif
