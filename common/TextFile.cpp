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

// Reads up to buffer's size; what read returns, retried when interrupted.
ssize_t readSome(int fd, std::vector<char>& buffer) {
  ssize_t count;
  do {
    count = ::read(fd, buffer.data(), buffer.size());
  } while (count < 0 && errno == EINTR);
  return count;
}

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

std::optional<std::string> readFilePieces(
    const std::string& path, std::size_t maxBytes,
    const std::function<bool(std::string_view piece, bool last)>& take) {
  if (std::optional<std::string> problem = notRegularFile(path)) {
    return problem;
  }
  // Opened without waiting, then checked again on the descriptor: a FIFO
  // put in the file's place meanwhile is refused as well.
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) {
    return openProblem(errno);
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0) {
    return std::string("cannot be read: ") + std::strerror(errno);
  }
  if (!S_ISREG(status.st_mode)) {
    return kindProblem(status.st_mode);
  }
  const std::string tooLarge = "is larger than " + std::to_string(maxBytes) + " bytes";
  if (static_cast<unsigned long long>(status.st_size) > maxBytes) {
    return tooLarge;
  }
  // One piece ahead, so that the last one is known as such.
  std::vector<char> piece(1 << 16);
  std::vector<char> next(1 << 16);
  ssize_t held = readSome(file.get(), piece);
  std::size_t total = 0;
  for (;;) {
    const ssize_t ahead = held > 0 ? readSome(file.get(), next) : held;
    if (ahead < 0) {
      return std::string("cannot be read: ") + std::strerror(errno);
    }
    total += static_cast<std::size_t>(held);
    if (total > maxBytes) {
      return tooLarge;
    }
    const bool last = ahead == 0;
    if (!take(std::string_view(piece.data(), static_cast<std::size_t>(held)), last) || last) {
      return std::nullopt;
    }
    piece.swap(next);
    held = ahead;
  }
}

TextFileContent readTextFile(const std::string& path, std::size_t maxBytes) {
  std::string text;
  std::optional<std::string> problem =
      readFilePieces(path, maxBytes, [&text](std::string_view piece, bool) {
        text.append(piece);
        return true;
      });
  if (problem) {
    return {std::nullopt, std::move(*problem)};
  }
  return {std::move(text), ""};
}

std::size_t byteOrderMarkLength(std::string_view text) {
  return text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
}
