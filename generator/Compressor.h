#ifndef COMPRESSOR_H_
#define COMPRESSOR_H_

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

typedef struct ZSTD_CCtx_s ZSTD_CCtx;

// Compresses a stream of blocks into zstd frames written to a file. A file
// may hold several frames, one after the other: readers decompress them as
// one stream, and skip the skippable frames that pad a fixed-size region.
class Compressor {
 public:
  // The levels zstd accepts (negative ones trade ratio for speed).
  static int MinLevel();
  static int MaxLevel();

  // A stream at level; throws std::bad_alloc when zstd has no memory.
  explicit Compressor(int level);
  ~Compressor();
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;

  // Compresses count bytes of data into the current frame, and ends the
  // frame when endFrame is set, writing what comes out to file. The errno
  // value of a write that failed (EIO when it gave none), or 0.
  int write(std::FILE* file, const char* data, std::size_t count, bool endFrame);

  // data as one frame of its own, followed by a skippable frame that pads
  // it to exactly region bytes; empty when the frame does not leave room
  // for the padding's 8-byte header.
  static std::string FrameOfSize(const std::string& data, int level, std::size_t region);

 private:
  ZSTD_CCtx* Context;
  std::vector<char> Out;
};

#endif
