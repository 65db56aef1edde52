#ifndef OUTPUTFILE_H_
#define OUTPUTFILE_H_

#include <cstddef>
#include <cstdio>
#include <memory>

#include "generator/BackgroundWriter.h"

// A buffered output file for the generator's large outputs (the state space
// and reward files). It writes exactly the characters the standard streams
// write for the same values and settings (decimal integers; doubles in
// "%.10e" or in the default "%g" form), but formats with std::to_chars into
// one of two large buffers while a background writer writes the other.
// Files still open when the program ends (also through exit) are flushed,
// so a stopped run keeps what was written before.
class OutputFile {
 public:
  OutputFile();
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens name for writing (binary, truncated); false on failure (errno
  // tells why). Closes a file opened before.
  bool open(const char* name);
  bool isOpen() const { return File != nullptr; }
  // Writes what is buffered and closes; false when anything written since
  // open was lost.
  bool close();
  // False once any write failed.
  bool good() const { return !Failed && !(Writer && Writer->failed()); }
  // Marks the file failed without writing.
  void setFailed() { Failed = true; }

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
  // Writes the buffer, moves to the start of the file and continues there:
  // the next writes overwrite the file's first characters.
  void rewind();
  // Writes what is buffered to the file (without closing); false once any
  // write failed.
  bool flush();

  // Rewrites the closed file name with its first oldHeadLength bytes
  // replaced by newHead (of any length); false when that failed, in which
  // case the file is left as it was.
  static bool ReplaceHead(const char* name, long oldHeadLength, const char* newHead);

 private:
  // Room for the longest formatted number.
  static const std::size_t kMaxNumber = 32;

  // Flushes every open file; runs when the program ends.
  static void flushOpenFiles();
  void drain();
  void reserve(std::size_t count) {
    if (static_cast<std::size_t>(End - Next) < count) drain();
  }

  std::FILE* File;
  std::unique_ptr<BackgroundWriter> Writer;  // while the file is open
  char* Buffers[2];  // owned; one is filled while the writer writes the other
  int Filling;       // index of the buffer being filled
  char* Next;        // in Buffers[Filling]; writes while no file is open are discarded
  char* End;
  bool Failed;
  OutputFile* NextOpen;  // chain of open files, flushed at exit
};

#endif
