#include "generator/OutputSet.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>

namespace {

OutputSet* liveSets = nullptr;  // chain through NextLive

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Room for every suffix a run writes, so that claiming one never moves the
// entries a signal handler may be reading.
const std::size_t kMaxEntries = 32;

// Removes name; a name that is not there is no failure.
bool removeIfThere(const std::string& name) {
  return unlink(name.c_str()) == 0 || errno == ENOENT;
}

// The folder a file name lies in, for its lock.
std::string folderOf(const std::string& name) {
  const std::string folder = std::filesystem::path(name).parent_path().string();
  return folder.empty() ? "." : folder;
}

// Holds an exclusive lock on a folder while it lives, where the folder can
// be opened.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder)
      : Descriptor(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    while (Descriptor >= 0 && flock(Descriptor, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
  ~FolderLock() {
    if (Descriptor >= 0) {
      close(Descriptor);  // releases the lock
    }
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int Descriptor;
};

}  // namespace

const std::vector<std::string>& OutputSet::Suffixes() {
  static const std::vector<std::string> suffixes = {".arm",    ".var",    ".pvtype", ".det",
                                                    ".states", ".firings", ".imp"};
  return suffixes;
}

OutputSet::OutputSet(std::string prefix) : Prefix(std::move(prefix)) {
  // Unique to the process and, within it, to the set.
  static unsigned long sets = 0;
  Tail = "." + std::to_string(getpid()) + "-" + std::to_string(++sets) + ".part";
  Entries.reserve(kMaxEntries);
  for (const std::string& suffix : Suffixes()) {
    Entries.push_back({suffix, Prefix + suffix + Tail, false});
  }
  static bool cleanUpAtExit = (std::atexit(removeAllTemporaries), installHandlers(), true);
  (void)cleanUpAtExit;
  NextLive = liveSets;
  liveSets = this;
}

OutputSet::~OutputSet() {
  for (OutputSet** link = &liveSets; *link != nullptr; link = &(*link)->NextLive) {
    if (*link == this) {
      *link = NextLive;
      break;
    }
  }
  if (!Committed) {
    removeTemporaries();
  }
}

bool OutputSet::RemoveFinal(std::string& failed) {
  for (const Entry& entry : Entries) {
    if (!removeIfThere(finalName(entry))) {
      failed = finalName(entry);
      return false;
    }
  }
  return true;
}

OutputSet::Entry& OutputSet::entryFor(const std::string& suffix) {
  for (Entry& entry : Entries) {
    if (entry.suffix == suffix) {
      return entry;
    }
  }
  if (Entries.size() == kMaxEntries) {
    std::abort();  // a programming error: far more suffixes than any run writes
  }
  Entries.push_back({suffix, Prefix + suffix + Tail, false});
  return Entries.back();
}

std::string OutputSet::Claim(const std::string& suffix) {
  Entry& entry = entryFor(suffix);
  entry.claimed = true;
  return entry.temporary;
}

std::string OutputSet::Shown(const std::string& name) const {
  for (const Entry& entry : Entries) {
    if (name == entry.temporary) {
      return finalName(entry);
    }
  }
  return name;
}

bool OutputSet::Commit(std::string& failed) {
  // A folder that cannot be read cannot be locked either; the renames still
  // put every file in place whole.
  const FolderLock lock(folderOf(Prefix + Suffixes().front()));
  if (commitLocked(failed)) {
    Committed = true;
    return true;
  }
  const int reason = errno;
  for (const Entry& entry : Entries) {
    removeIfThere(finalName(entry));
  }
  errno = reason;
  return false;
}

bool OutputSet::commitLocked(std::string& failed) {
  for (const Entry& entry : Entries) {
    const std::string final = finalName(entry);
    const bool done = entry.claimed ? std::rename(entry.temporary.c_str(), final.c_str()) == 0
                                    : removeIfThere(final);
    if (!done) {
      failed = final;
      return false;
    }
  }
  return true;
}

void OutputSet::removeTemporaries() const {
  // Only unlink: this also runs in a signal handler.
  for (const Entry& entry : Entries) {
    unlink(entry.temporary.c_str());
  }
}

void OutputSet::removeAllTemporaries() {
  for (const OutputSet* set = liveSets; set != nullptr; set = set->NextLive) {
    if (!set->Committed) {
      set->removeTemporaries();
    }
  }
}

void OutputSet::onSignal(int signal) {
  removeAllTemporaries();
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void OutputSet::installHandlers() {
  for (int signal : kSignals) {
    // A signal the caller chose to ignore stays ignored.
    if (std::signal(signal, onSignal) == SIG_IGN) {
      std::signal(signal, SIG_IGN);
    }
  }
}
