#include "common/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

std::string kindProblem(mode_t mode) {
  const char* kind = S_ISDIR(mode)                    ? "a directory"
                     : S_ISFIFO(mode)                 ? "a FIFO (named pipe)"
                     : S_ISCHR(mode) || S_ISBLK(mode) ? "a device"
                     : S_ISSOCK(mode)                 ? "a socket"
                                                      : "not a file";
  return std::string("is ") + kind + ", not a regular file";
}

std::string openProblem(int error) {
  return error == ENOENT ? "no such file"
                         : std::string("cannot be opened: ") + std::strerror(error);
}

// Closes the descriptor it holds when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : Fd(fd) {}
  ~Descriptor() {
    if (Fd >= 0) {
      ::close(Fd);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return Fd; }

 private:
  int Fd;
};

}  // namespace

std::optional<std::string> notRegularFile(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    return openProblem(errno);
  }
  if (!S_ISREG(status.st_mode)) {
    return kindProblem(status.st_mode);
  }
  return std::nullopt;
}

TextFileContent readTextFile(const std::string& path, std::size_t maxBytes) {
  if (std::optional<std::string> problem = notRegularFile(path)) {
    return {std::nullopt, *problem};
  }
  // Opened without waiting, then checked again on the descriptor: a FIFO
  // put in the file's place meanwhile is refused as well.
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) {
    return {std::nullopt, openProblem(errno)};
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) {
    return {std::nullopt, std::string("cannot be read: ") + std::strerror(errno)};
  }
  if (!S_ISREG(status.st_mode)) {
    return {std::nullopt, kindProblem(status.st_mode)};
  }
  std::string text;
  std::vector<char> chunk(1 << 16);
  for (;;) {
    const ssize_t count = ::read(file.get(), chunk.data(), chunk.size());
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      return {std::nullopt, std::string("cannot be read: ") + std::strerror(errno)};
    }
    if (count == 0) {
      return {std::move(text), ""};
    }
    text.append(chunk.data(), static_cast<std::size_t>(count));
    if (text.size() > maxBytes) {
      return {std::nullopt, "is larger than " + std::to_string(maxBytes) + " bytes"};
    }
  }
}

std::size_t byteOrderMarkLength(std::string_view text) {
  return text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}
