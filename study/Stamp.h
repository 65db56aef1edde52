#ifndef STUDY_STAMP_H_
#define STUDY_STAMP_H_

#include <optional>
#include <string>
#include <vector>

namespace study {

// A digest of a file's bytes (64-bit FNV-1a, in hexadecimal), to tell a
// rebuilt program from the one that wrote a run's files; nullopt when the
// file cannot be read.
std::optional<std::string> fileDigest(const std::string& path);

// The stamp of a finished experiment: what produced its files (programs,
// their digests and arguments, one text) and, for every file of the
// experiment, its size and modification time. An experiment is reused only
// while its stamp matches both, so a file changed, cut short or removed
// since, or other inputs, make it run again.
class Stamp {
 public:
  // The stamp of the files whose names start with prefix (a path and a name
  // ending in '.', out/exp3.) as they are now, made by inputs.
  static Stamp ofFiles(const std::string& prefix, const std::string& inputs);
  // The stamp written at path; nullopt when there is none or it is malformed.
  static std::optional<Stamp> read(const std::string& path);

  // Writes the stamp to path through a temporary name, so that a stamp is
  // there only whole; false when it cannot be written.
  bool write(const std::string& path) const;
  // True when the inputs are these and every file recorded is as recorded.
  bool matches(const std::string& inputs) const;

 private:
  struct FileState {
    std::string path;  // the name, within Folder
    unsigned long long size = 0;
    long long modified = 0;  // nanoseconds of the file clock
  };
  static std::optional<FileState> stateOf(const std::string& path);

  std::string Folder;
  std::string Inputs;
  std::vector<FileState> Files;
};

}  // namespace study

#endif
