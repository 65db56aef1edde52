#include "generator/Compressor.h"

#include <zstd.h>

#include <cerrno>
#include <cstdint>
#include <new>

namespace {

// A skippable frame: this magic number (any of 16 values), its content's
// size, then content that readers skip.
const std::uint32_t kSkippableMagic = 0x184D2A50;
const std::size_t kSkippableHeader = 8;

void putLittleEndian32(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; i++) {
    out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

}  // namespace

int Compressor::MinLevel() { return ZSTD_minCLevel(); }

int Compressor::MaxLevel() { return ZSTD_maxCLevel(); }

Compressor::Compressor(int level) : Context(ZSTD_createCCtx()), Out(ZSTD_CStreamOutSize()) {
  if (Context == nullptr) {
    throw std::bad_alloc();
  }
  ZSTD_CCtx_setParameter(Context, ZSTD_c_compressionLevel, level);
  // A checksum per frame lets a reader tell a damaged file from a valid one.
  ZSTD_CCtx_setParameter(Context, ZSTD_c_checksumFlag, 1);
}

Compressor::~Compressor() { ZSTD_freeCCtx(Context); }

int Compressor::write(std::FILE* file, const char* data, std::size_t count, bool endFrame) {
  ZSTD_inBuffer in = {data, count, 0};
  const ZSTD_EndDirective mode = endFrame ? ZSTD_e_end : ZSTD_e_continue;
  for (;;) {
    ZSTD_outBuffer out = {Out.data(), Out.size(), 0};
    const std::size_t left = ZSTD_compressStream2(Context, &out, &in, mode);
    if (ZSTD_isError(left)) {
      return ENOMEM;  // the only failure of a valid context: an allocation
    }
    errno = 0;
    if (out.pos > 0 && std::fwrite(Out.data(), 1, out.pos, file) != out.pos) {
      return errno != 0 ? errno : EIO;
    }
    const bool done = endFrame ? left == 0 : in.pos == in.size;
    if (done) {
      return 0;
    }
  }
}

std::string Compressor::FrameOfSize(const std::string& data, int level, std::size_t region) {
  std::string frame(ZSTD_compressBound(data.size()), '\0');
  const std::size_t size = ZSTD_compress(frame.data(), frame.size(), data.data(), data.size(), level);
  if (ZSTD_isError(size) || size + kSkippableHeader > region) {
    return "";
  }
  frame.resize(size);
  putLittleEndian32(frame, kSkippableMagic);
  putLittleEndian32(frame, static_cast<std::uint32_t>(region - size - kSkippableHeader));
  frame.resize(region, '\0');
  return frame;
}
