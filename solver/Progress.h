#ifndef SOLVER_PROGRESS_H_
#define SOLVER_PROGRESS_H_

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace solver {

// Tells a person what a long computation is doing, and lets it be stopped.
// Nothing is printed during the first few seconds, so that short runs stay
// silent; then one line at most every few seconds: what is computed, the
// steps done of the total and the time elapsed since the solver started.
// Stopping is asked from outside (a signal handler); computations poll
// stopRequested() and end early with what they have.
class Progress {
 public:
  // Reports to out (standard error in the command), or nowhere when null.
  explicit Progress(std::ostream* out);

  // A new computation: what it is and how many steps it may take (0 when
  // unknown).
  void begin(const std::string& what, std::uint64_t total);
  // Steps done so far of the current computation; detail is added to the
  // line (a residual, say). It reads the clock: callers with steps of
  // microseconds call it every so many steps.
  void advance(std::uint64_t done, const std::string& detail = "");
  // Whether the run was asked to stop.
  bool stopRequested() const;

  // Asks every computation to stop; safe from a signal handler.
  static void requestStop();
  // Clears a request (for tests and a second run in one process).
  static void clearStop();

 private:
  using Clock = std::chrono::steady_clock;
  double elapsed() const;

  std::ostream* Out;
  Clock::time_point Start;
  Clock::time_point NextReport;
  std::string What;
  std::uint64_t Total = 0;
};

}  // namespace solver

#endif
