#ifndef OUTPUTFILE_H_
#define OUTPUTFILE_H_

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <streambuf>
#include <string>

#include "generator/BackgroundWriter.h"

// A buffered output file for the generator's large outputs (the state space
// and reward files). It writes exactly the characters the standard streams
// write for the same values and settings (decimal integers; doubles in
// "%.10e" or in the default "%g" form), but formats with std::to_chars into
// one of two large buffers while a background writer writes the other.
// The buffers are allocated when a file is first opened, so that a file
// object may be a static one. Files still open when the program ends (also
// through exit) are flushed, so a stopped run keeps what was written before.
// On request the output is compressed with zstd, on the writer's thread.
// A head written first (a count that is only known at the end) can be
// replaced at the end, compressed or not.
class OutputFile {
 public:
  OutputFile();
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens name for writing (binary, truncated), compressed at the given
  // zstd level when there is one; false on failure (errno tells why, ENOMEM
  // when the buffers cannot be had). Closes a file opened before.
  bool open(const char* name, std::optional<int> compression = std::nullopt);
  bool isOpen() const { return File != nullptr; }
  // Writes what is buffered and closes; false when anything written since
  // open was lost.
  bool close();
  // False once any write failed.
  bool good() const { return Error == 0 && !(Writer && Writer->failed()); }
  // Why the first failed write failed: an errno value, 0 while none has.
  int error() const { return Error != 0 ? Error : Writer ? Writer->error() : 0; }
  // Marks the file failed, for the reason given (an errno value), without
  // writing.
  void setFailed(int reason) { fail(reason); }

  void put(char c) {
    if (End - Next < 1) drain();
    *Next++ = c;
  }
  void put(const char* text);
  void putSpaces(int count);
  void putUnsigned(unsigned long value);
  void putSigned(long value);
  // "%.10e", as a stream in scientific notation with precision 10 writes it.
  void putScientific(double value);
  // "%g" with 6 significant digits, as a stream with default settings.
  void putGeneral(double value);
  void putBytes(const void* bytes, std::size_t count);
  // The number of bytes put since open, before any compression.
  std::size_t position() const {
    return Handed +
           (Buffers[Filling] ? static_cast<std::size_t>(Next - Buffers[Filling].get()) : 0);
  }
  // Marks what was written since open (less than a buffer) as the file's
  // head, which replaceHead may replace at the end. Compressed, the head
  // becomes a frame of its own padded to a fixed size.
  void endHead();
  // The last write: replaces the head with head (of any length; compressed
  // or not, the file reads as if head had been written first). False when
  // that failed, or anything written before was lost; the file may then be
  // closed.
  bool replaceHead(const std::string& head);
  // Writes what is buffered to the file (without closing); false once any
  // write failed.
  bool flush();

  // Rewrites the closed file name with its first oldHeadLength bytes
  // replaced by newHead (of any length); false when that failed (errno
  // tells why), in which case the file is left as it was.
  static bool ReplaceHead(const char* name, long oldHeadLength, const std::string& newHead);

 private:
  // Room for the longest formatted number.
  static const std::size_t kMaxNumber = 32;

  // Flushes every open file; runs when the program ends.
  static void flushOpenFiles();
  // False when the buffers could not be allocated.
  bool allocateBuffers();
  // Records the reason of the first failure (EIO when errno gave none).
  void fail(int reason);
  void drain();
  // Hands over what is buffered and ends the compressed stream: the frame is
  // complete, and nothing more is written.
  void endStream();
  // Writes the compressed head region at the file's current position.
  void writeHeadRegion(const std::string& head);
  void reserve(std::size_t count) {
    if (static_cast<std::size_t>(End - Next) < count) drain();
  }

  std::FILE* File;
  std::unique_ptr<BackgroundWriter> Writer;  // while the file is open
  // One is filled while the writer writes the other; null until the first open.
  std::unique_ptr<char[]> Buffers[2];
  char Discard[kMaxNumber];  // takes the writes made before any buffer exists
  int Filling;               // index of the buffer being filled
  char* Next;  // in Buffers[Filling] or Discard; writes while no file is open are discarded
  char* End;
  int Error;             // errno value of the first failure, 0 while none
  OutputFile* NextOpen;  // chain of open files, flushed at exit
  std::string Name;
  std::optional<int> Compression;  // the zstd level, while compressing
  std::size_t Handed;              // bytes handed to the writer since open
  std::size_t HeadLength;          // set by endHead
  bool Ended;                      // no more output: the stream or file is complete
};

// A stream buffer that writes to an OutputFile, for output made with the
// standard streams' formatting (the ".det" file's).
class OutputFileBuffer : public std::streambuf {
 public:
  explicit OutputFileBuffer(OutputFile& file) : File(file) {}

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      File.put(traits_type::to_char_type(c));
    }
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    File.putBytes(text, static_cast<std::size_t>(count));
    return count;
  }

 private:
  OutputFile& File;
};

#endif
