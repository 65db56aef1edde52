#include "solver/ByteSource.h"

#include <zstd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>

namespace solver {

namespace {

const std::uint32_t kFrameMagic = 0xFD2FB528;
// A skippable frame's magic is any of 16 values from this one.
const std::uint32_t kSkippableMagic = 0x184D2A50;

bool startsCompressed(const char* bytes, std::size_t count) {
  if (count < 4) {
    return false;
  }
  std::uint32_t magic = 0;
  for (int i = 3; i >= 0; i--) {
    magic = (magic << 8) | static_cast<unsigned char>(bytes[i]);
  }
  return magic == kFrameMagic || (magic & 0xFFFFFFF0u) == kSkippableMagic;
}

}  // namespace

ByteSource::ByteSource(std::istream& in) : In(in), Input(ZSTD_DStreamInSize()) {}

ByteSource::~ByteSource() { ZSTD_freeDCtx(Context); }

bool ByteSource::refill() {
  if (InputDone) {
    return false;
  }
  In.read(Input.data(), static_cast<std::streamsize>(Input.size()));
  const auto count = static_cast<std::size_t>(In.gcount());
  if (In.bad()) {
    throw Error("cannot be read");
  }
  InputBegin = 0;
  InputEnd = count;
  InputDone = In.eof() || count == 0;
  return count > 0;
}

std::size_t ByteSource::read(char* out, std::size_t capacity) {
  if (!Started) {
    Started = true;
    refill();
    if (startsCompressed(Input.data(), InputEnd)) {
      Context = ZSTD_createDCtx();
      if (Context == nullptr) {
        throw std::bad_alloc();
      }
    }
  }
  if (Context != nullptr) {
    return decompress(out, capacity);
  }
  if (InputBegin == InputEnd && !refill()) {
    return 0;
  }
  const std::size_t count = std::min(capacity, InputEnd - InputBegin);
  std::memcpy(out, Input.data() + InputBegin, count);
  InputBegin += count;
  return count;
}

std::size_t ByteSource::decompress(char* out, std::size_t capacity) {
  for (;;) {
    if (InputBegin == InputEnd) {
      refill();
    }
    // Called with no input left too: the decoder may still hold output.
    ZSTD_inBuffer in = {Input.data(), InputEnd, InputBegin};
    ZSTD_outBuffer produced = {out, capacity, 0};
    const std::size_t left = ZSTD_decompressStream(Context, &produced, &in);
    if (ZSTD_isError(left)) {
      throw Error(std::string("the compressed data is damaged (") + ZSTD_getErrorName(left) + ")");
    }
    // Between frames zstd hints at the next frame's header: only a call that
    // moved tells whether a frame is incomplete.
    if (in.pos != InputBegin || produced.pos > 0) {
      FrameLeft = left;
    }
    InputBegin = in.pos;
    if (produced.pos > 0) {
      return produced.pos;
    }
    if (InputBegin == InputEnd && InputDone) {
      if (FrameLeft != 0) {
        throw Error("the compressed data ends early: the file is truncated");
      }
      return 0;
    }
  }
}

}  // namespace solver
