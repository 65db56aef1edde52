#ifndef OUTPUTSET_H_
#define OUTPUTSET_H_

#include <string>
#include <vector>

// The files of one run. Each is written under a temporary name in its final
// name's folder, and all are renamed into place together once the run has
// succeeded: a run that fails, or is stopped, never leaves a file under a
// final name, and a reader never takes a file of another run (a stale
// ".det" of another model, say) for this run's. At the start, and again
// when the run commits, every final name of the set that this run does not
// write is removed; commits of runs in one folder take a lock on the
// folder, so that of two runs on one name the later one wins whole. A
// symbolic link under a final name is replaced, never written through.
class OutputSet {
 public:
  // The suffixes a run may write. A suffix claimed that is not listed here
  // is committed all the same; listing it also removes a stale file of that
  // suffix from runs that do not write one.
  static const std::vector<std::string>& Suffixes();

  // The set of the files named prefix + suffix (prefix is the path and the
  // experiment name). While it lives, its temporary files are removed when
  // the program ends before commit, through exit or a SIGINT, SIGTERM or
  // SIGHUP (a SIGKILL leaves them, under their temporary names).
  explicit OutputSet(std::string prefix);
  ~OutputSet();
  OutputSet(const OutputSet&) = delete;
  OutputSet& operator=(const OutputSet&) = delete;

  // Removes the files of earlier runs under the final names. False when one
  // cannot be removed (a directory, a folder without write permission), with
  // its name in failed and the reason in errno.
  bool RemoveFinal(std::string& failed);
  // The name to write the file with suffix under: a temporary name beside
  // the final one. The suffix becomes part of what commit renames.
  std::string Claim(const std::string& suffix);
  // The final name of the file that name (a temporary or final name of the
  // set) stands for, for messages; other names unchanged.
  std::string Shown(const std::string& name) const;
  // Renames every claimed file to its final name and removes the final
  // names of the suffixes not claimed, holding the folder's lock (where the
  // folder can be read). False when
  // that failed, with the name in failed and the reason in errno; nothing of
  // the set is then left under a final name.
  bool Commit(std::string& failed);

 private:
  struct Entry {
    std::string suffix;
    std::string temporary;
    bool claimed;
  };

  std::string finalName(const Entry& entry) const { return Prefix + entry.suffix; }
  Entry& entryFor(const std::string& suffix);
  void removeTemporaries() const;
  bool commitLocked(std::string& failed);
  static void removeAllTemporaries();
  static void onSignal(int signal);
  static void installHandlers();

  std::string Prefix;
  std::string Tail;  // appended to a final name to make the temporary one
  // Fixed once built (new suffixes are appended before any signal can read
  // them), so that a signal handler may walk it.
  std::vector<Entry> Entries;
  bool Committed = false;
  OutputSet* NextLive = nullptr;  // chain of sets not yet destroyed
};

#endif
