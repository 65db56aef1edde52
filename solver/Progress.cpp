#include "solver/Progress.h"

#include <csignal>
#include <cstdio>

namespace solver {

namespace {

// Silent for this long, then a line at most this often.
const std::chrono::seconds kQuietStart(3);
const std::chrono::seconds kInterval(5);

volatile std::sig_atomic_t stopFlag = 0;

}  // namespace

Progress::Progress(std::ostream* out)
    : Out(out), Start(Clock::now()), NextReport(Start + kQuietStart) {}

void Progress::begin(const std::string& what, std::uint64_t total) {
  What = what;
  Total = total;
}

void Progress::advance(std::uint64_t done, const std::string& detail) {
  if (Out == nullptr) {
    return;
  }
  const Clock::time_point now = Clock::now();
  if (now < NextReport) {
    return;
  }
  NextReport = now + kInterval;
  char line[160];
  if (Total > 0) {
    std::snprintf(line, sizeof line, ": %llu of %llu (%.0f%%)",
                  static_cast<unsigned long long>(done), static_cast<unsigned long long>(Total),
                  100.0 * static_cast<double>(done) / static_cast<double>(Total));
  } else {
    std::snprintf(line, sizeof line, ": %llu", static_cast<unsigned long long>(done));
  }
  char time[40];
  std::snprintf(time, sizeof time, ", %.0f s", elapsed());
  *Out << "solve: " << What << line << (detail.empty() ? "" : ", " + detail) << time << std::endl;
}

bool Progress::stopRequested() const { return stopFlag != 0; }

void Progress::requestStop() { stopFlag = 1; }

void Progress::clearStop() { stopFlag = 0; }

double Progress::elapsed() const {
  return std::chrono::duration<double>(Clock::now() - Start).count();
}

}  // namespace solver
