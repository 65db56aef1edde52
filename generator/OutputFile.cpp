#include "generator/OutputFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

const std::size_t kBufferSize = 1 << 20;

// Bytes a compressed head takes: its frame and the skippable frame that pads
// it, so that a head of another length (a count known only at the end)
// takes the same room.
const std::size_t kHeadRegion = 256;

OutputFile* openFiles = nullptr;  // chain through NextOpen

// Formatting a double is the costly part of the output, and the state
// spaces repeat few distinct values (the model's rates, small rewards): a
// small direct-mapped cache of formatted values keeps most calls to a copy.
class FormatCache {
 public:
  // The characters of value in format fmt with the given precision, and
  // their count.
  const char* format(double value, std::chars_format fmt, int precision, std::size_t& length) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Entry& entry = Entries[(bits * 0x9E3779B97F4A7C15ull) >> 56];
    if (!entry.Valid || entry.Bits != bits) {
      const std::to_chars_result result =
          std::to_chars(entry.Text, entry.Text + sizeof entry.Text, value, fmt, precision);
      entry.Length = static_cast<unsigned char>(result.ptr - entry.Text);
      entry.Bits = bits;
      entry.Valid = true;
    }
    length = entry.Length;
    return entry.Text;
  }

 private:
  struct Entry {
    std::uint64_t Bits = 0;
    bool Valid = false;
    unsigned char Length = 0;
    char Text[30];
  };
  Entry Entries[256];
};

FormatCache scientificCache;
FormatCache generalCache;

}  // namespace

OutputFile::OutputFile()
    : File(nullptr),
      Discard{},
      Filling(0),
      Next(Discard),
      End(Discard + kMaxNumber),
      Error(0),
      NextOpen(nullptr),
      Handed(0),
      HeadLength(0),
      Ended(false) {}

OutputFile::~OutputFile() { close(); }

bool OutputFile::allocateBuffers() {
  for (std::unique_ptr<char[]>& buffer : Buffers) {
    if (!buffer) {
      buffer.reset(new (std::nothrow) char[kBufferSize]);
    }
  }
  return Buffers[0] && Buffers[1];
}

bool OutputFile::open(const char* name, std::optional<int> compression) {
  close();
  if (!allocateBuffers()) {
    errno = ENOMEM;
    return false;
  }
  std::unique_ptr<Compressor> compressor;
  try {
    compressor.reset(compression ? new Compressor(*compression) : nullptr);
  } catch (const std::bad_alloc&) {
    errno = ENOMEM;
    return false;
  }
  File = std::fopen(name, "wb");
  if (File == nullptr) {
    return false;
  }
  Writer.reset(new BackgroundWriter(File, std::move(compressor)));
  Next = Buffers[Filling].get();
  End = Next + kBufferSize;
  Error = 0;
  Name = name;
  Compression = compression;
  Handed = 0;
  HeadLength = 0;
  Ended = false;
  static bool flushAtExit = (std::atexit(flushOpenFiles), true);
  (void)flushAtExit;
  NextOpen = openFiles;
  openFiles = this;
  return true;
}

void OutputFile::flushOpenFiles() {
  for (OutputFile* file = openFiles; file != nullptr; file = file->NextOpen) {
    file->flush();
  }
}

bool OutputFile::close() {
  if (File == nullptr) {
    return good();
  }
  endStream();
  flush();
  if (Writer->failed()) {
    fail(Writer->error());
  }
  Writer.reset();
  if (std::fclose(File) != 0) {
    fail(errno);
  }
  File = nullptr;
  for (OutputFile** link = &openFiles; *link != nullptr; link = &(*link)->NextOpen) {
    if (*link == this) {
      *link = NextOpen;
      break;
    }
  }
  return good();
}

void OutputFile::put(const char* text) { putBytes(text, std::strlen(text)); }

void OutputFile::putSpaces(int count) {
  for (int i = 0; i < count; i++) {
    put(' ');
  }
}

void OutputFile::putUnsigned(unsigned long value) {
  reserve(kMaxNumber);
  Next = std::to_chars(Next, End, value).ptr;
}

void OutputFile::putSigned(long value) {
  reserve(kMaxNumber);
  Next = std::to_chars(Next, End, value).ptr;
}

void OutputFile::putScientific(double value) {
  std::size_t length = 0;
  const char* text = scientificCache.format(value, std::chars_format::scientific, 10, length);
  putBytes(text, length);
}

void OutputFile::putGeneral(double value) {
  std::size_t length = 0;
  const char* text = generalCache.format(value, std::chars_format::general, 6, length);
  putBytes(text, length);
}

void OutputFile::putBytes(const void* bytes, std::size_t count) {
  const char* from = static_cast<const char*>(bytes);
  while (count > 0) {
    if (Next == End) {
      drain();
    }
    const std::size_t part = std::min(count, static_cast<std::size_t>(End - Next));
    std::memcpy(Next, from, part);
    Next += part;
    from += part;
    count -= part;
  }
}

void OutputFile::endHead() {
  const std::size_t buffered = static_cast<std::size_t>(Next - Buffers[Filling].get());
  HeadLength = Handed + buffered;
  if (!Compression) {
    return;
  }
  if (Handed > 0) {
    fail(EOVERFLOW);  // a head longer than a buffer cannot be told from the rest
    return;
  }
  const std::string head(Buffers[Filling].get(), buffered);
  Next = Buffers[Filling].get();
  writeHeadRegion(head);
}

bool OutputFile::replaceHead(const std::string& head) {
  if (File == nullptr) {
    return good();
  }
  if (Compression) {
    endStream();
    flush();
    if (good() && std::fseek(File, 0, SEEK_SET) != 0) {
      fail(errno);
    }
    writeHeadRegion(head);
    return flush();
  }
  if (head.size() == HeadLength) {
    flush();
    if (std::fseek(File, 0, SEEK_SET) != 0) {
      fail(errno);
    }
    putBytes(head.data(), head.size());
    return flush();
  }
  const std::string name = Name;
  const long oldLength = static_cast<long>(HeadLength);
  if (!close()) {
    return false;
  }
  if (!ReplaceHead(name.c_str(), oldLength, head)) {
    fail(errno);
  }
  return good();
}

void OutputFile::writeHeadRegion(const std::string& head) {
  if (!good()) {
    return;
  }
  const std::string region = Compressor::FrameOfSize(head, *Compression, kHeadRegion);
  if (region.empty()) {
    fail(EOVERFLOW);
    return;
  }
  Writer->wait();
  errno = 0;
  if (std::fwrite(region.data(), 1, region.size(), File) != region.size()) {
    fail(errno);
  }
}

void OutputFile::endStream() {
  if (Ended) {
    return;
  }
  drain();
  if (Compression && Writer && good()) {
    Writer->write(nullptr, 0, true);
  }
  Ended = true;
  Next = Discard;
  End = Discard + kMaxNumber;
}

bool OutputFile::flush() {
  drain();
  if (Writer) {
    Writer->wait();
  }
  if (File != nullptr && std::fflush(File) != 0) {
    fail(errno);
  }
  return good();
}

void OutputFile::fail(int reason) {
  if (Error == 0) {
    Error = reason != 0 ? reason : EIO;
  }
}

void OutputFile::drain() {
  if (!Buffers[Filling] || Ended) {
    Next = Discard;
    End = Discard + kMaxNumber;
    return;
  }
  const std::size_t count = static_cast<std::size_t>(Next - Buffers[Filling].get());
  // Like a stream in its failed state, a failed file takes no more output.
  if (count > 0 && Writer && good()) {
    Writer->write(Buffers[Filling].get(), count);
    Filling = 1 - Filling;
    Handed += count;
  }
  Next = Buffers[Filling].get();
  End = Next + kBufferSize;
}

bool OutputFile::ReplaceHead(const char* name, long oldHeadLength, const std::string& newHead) {
  const std::string temporary = std::string(name) + ".head";
  std::FILE* in = std::fopen(name, "rb");
  std::FILE* out = std::fopen(temporary.c_str(), "wb");
  bool copied = in != nullptr && out != nullptr && std::fseek(in, oldHeadLength, SEEK_SET) == 0 &&
                std::fwrite(newHead.data(), 1, newHead.size(), out) == newHead.size();
  std::vector<char> chunk(kBufferSize);
  while (copied) {
    const std::size_t count = std::fread(chunk.data(), 1, chunk.size(), in);
    if (count == 0) {
      copied = !std::ferror(in);
      break;
    }
    copied = std::fwrite(chunk.data(), 1, count, out) == count;
  }
  if (in != nullptr) {
    std::fclose(in);
  }
  if (out != nullptr && std::fclose(out) != 0) {
    copied = false;
  }
  if (copied && std::rename(temporary.c_str(), name) == 0) {
    return true;
  }
  const int reason = errno;  // the failure's, not the clean-up's
  std::remove(temporary.c_str());
  errno = reason;
  return false;
}
