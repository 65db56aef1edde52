// Fuzzes the solver's readers of a generator run. The input holds the
// ".pvtype", ".arm", ".var", ".det", ".firings", ".states" and ".imp"
// files, in this order, separated by NUL bytes; an optional file whose part
// is missing or empty is not written, and one whose part is the single byte
// 0xFF is made a FIFO, which the readers must refuse without waiting for
// a writer. The files are written to a scratch folder and read as the
// solver reads them: the result is the run, each file consistent with the
// others, or a diagnostic naming a file.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzTarget.h"
#include "solver/RunFiles.h"

namespace {

namespace fs = std::filesystem;

const char* const kSuffixes[] = {".pvtype", ".arm", ".var", ".det", ".firings", ".states", ".imp"};
const std::size_t kRequired = 3;  // .pvtype, .arm and .var are always written
const std::size_t kNumFiles = sizeof kSuffixes / sizeof kSuffixes[0];

// A folder of this process's own, in memory where the system offers it,
// removed when the process ends.
class ScratchFolder {
 public:
  ScratchFolder() {
    const fs::path shm = "/dev/shm";
    const fs::path base = fs::is_directory(shm) ? shm : fs::temp_directory_path();
    Path = base / ("runfiles-fuzz-" + std::to_string(getpid()));
    fs::create_directories(Path);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    fs::remove_all(Path, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const fs::path& path() const { return Path; }

 private:
  fs::path Path;
};

const fs::path& scratch() {
  static const ScratchFolder folder;
  return folder.path();
}

const char kFifo[] = "\xFF";

// Writes the files; returns the index of the one made a FIFO, or kNumFiles.
std::size_t writeFiles(const std::vector<std::string>& parts, const std::string& base) {
  std::size_t fifo = kNumFiles;
  for (std::size_t i = 0; i < kNumFiles; i++) {
    const std::string name = base + kSuffixes[i];
    fs::remove(name);
    if (parts[i] == kFifo && fifo == kNumFiles) {
      require(mkfifo(name.c_str(), 0600) == 0);
      fifo = i;
    } else if (i < kRequired || !parts[i].empty()) {
      std::ofstream(name, std::ios::binary) << parts[i];
    }
  }
  return fifo;
}

// What a run read must hold: every target and every state named in the
// files lies within the state count, and each state has its rewards.
void checkRun(const solver::RunFiles& run) {
  const std::uint32_t n = run.space.numStates;
  require(run.space.rowStart.size() == static_cast<std::size_t>(n) + 1);
  require(run.space.rowStart.back() == run.space.target.size());
  require(run.space.target.size() == run.space.value.size());
  for (std::uint32_t target : run.space.target) {
    require(target >= 1 && target <= n);
  }
  require(run.rewards.numVariables == run.variables.size());
  require(run.rewards.rate.size() == static_cast<std::size_t>(n) * run.variables.size());
  if (run.impulses) {
    require(run.impulses->rate.size() == run.rewards.rate.size());
    for (const solver::ImpulseTable::Deterministic& entry : run.impulses->deterministic) {
      require(entry.state >= 1 && entry.state <= n && entry.delay > 0);
      require(entry.first + run.variables.size() <= run.impulses->firingImpulse.size());
    }
  }
  if (n > 0) {
    run.describeState(n);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string base = (scratch() / "run").string();
  const std::size_t fifo = writeFiles(partsOf(data, size, kNumFiles), base);
  solver::Parsed<solver::RunFiles> run = solver::readRun(base);
  if (run.ok()) {
    require(fifo == kNumFiles);
    checkRun(run.value());
  } else {
    require(run.error().file.rfind(base, 0) == 0 && !run.error().message.empty());
  }
  return 0;
}
