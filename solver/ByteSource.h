#ifndef SOLVER_BYTESOURCE_H_
#define SOLVER_BYTESOURCE_H_

#include <cstddef>
#include <istream>
#include <stdexcept>
#include <vector>

typedef struct ZSTD_DCtx_s ZSTD_DCtx;

namespace solver {

// The bytes of an input for the readers: decompressed when the input is a
// zstd stream (files written with gen -z, told apart by their first bytes),
// as they are otherwise, so that every reader reads both forms alike.
class ByteSource {
 public:
  // What is wrong with the input: a failing read, damaged or truncated
  // compressed data.
  class Error : public std::runtime_error {
   public:
    using std::runtime_error::runtime_error;
  };

  // Reads from in, which stays the caller's.
  explicit ByteSource(std::istream& in);
  ~ByteSource();
  ByteSource(const ByteSource&) = delete;
  ByteSource& operator=(const ByteSource&) = delete;

  // Reads up to capacity bytes into out; 0 only at the end of the input.
  // Throws Error.
  std::size_t read(char* out, std::size_t capacity);

 private:
  // Reads more raw input into Input; false at its end.
  bool refill();
  std::size_t decompress(char* out, std::size_t capacity);

  std::istream& In;
  ZSTD_DCtx* Context = nullptr;  // while decompressing
  std::vector<char> Input;       // raw bytes read ahead
  std::size_t InputBegin = 0;
  std::size_t InputEnd = 0;
  bool Started = false;
  bool InputDone = false;
  std::size_t FrameLeft = 0;  // zstd's hint after the last call that moved: 0 at a frame's end
};

}  // namespace solver

#endif
