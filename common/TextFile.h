#ifndef COMMON_TEXTFILE_H_
#define COMMON_TEXTFILE_H_

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The content of a text input, or why it could not be read.
struct TextFileContent {
  std::optional<std::string> text;
  std::string
      problem;  // when there is no text: "no such file", "is a FIFO, not a regular file" ...
};

// Reads the whole file at path. Anything but a regular file (a FIFO, a
// device, a directory, a socket) is refused before a byte is read, since
// reading it could block for ever or never end; so is a file of more than
// maxBytes bytes, found without reading much more of it.
TextFileContent readTextFile(const std::string& path, std::size_t maxBytes);

// Reads the file at path as readTextFile does, but hands its content to take
// piece by piece, in order, instead of keeping it, so that a large input
// need not be held whole; last marks the final piece (an empty file is one
// empty last piece). take returns false to stop reading. The result is what
// readTextFile would call the problem, or nullopt when the file was read to
// its end or take stopped.
std::optional<std::string> readFilePieces(
    const std::string& path, std::size_t maxBytes,
    const std::function<bool(std::string_view piece, bool last)>& take);

// What path names when that is not a regular file ("is a directory, not a
// regular file", "no such file" ...); nullopt for a regular file (symbolic
// links are followed). Looks at the file without opening it.
std::optional<std::string> notRegularFile(const std::string& path);

// The number of bytes of a UTF-8 byte-order mark at the start of text: 3,
// or 0 without one. Editors put it there; it is not part of the content.
std::size_t byteOrderMarkLength(std::string_view text);

#endif
