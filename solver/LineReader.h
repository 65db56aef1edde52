#ifndef SOLVER_LINEREADER_H_
#define SOLVER_LINEREADER_H_

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <istream>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "solver/ByteSource.h"
#include "solver/Diagnostic.h"

namespace solver {

// Reads a text input line by line for the readers of the generator's files,
// counting lines so that every problem names its line. Lines end with a
// line feed. A last line without one (a truncated file), a line that ends
// with CR LF (a converted file), a line longer than kMaxLine bytes and a
// failing read are input errors; a byte-order mark before the first line
// is skipped. Compressed input is read decompressed (ByteSource); the
// binary forms are read through bytes().
class LineReader {
 public:
  static constexpr std::size_t kMaxLine = std::size_t(1) << 20;

  // Reads from in, which stays the caller's; name is how messages name it.
  LineReader(std::istream& in, std::string name);

  // The next line without its line feed, valid until the next call; false
  // at the end of the input.
  bool next(std::string_view& line);
  // The next line; the end of the input is an error saying that what was
  // expected is missing.
  std::string_view expect(std::string_view what) {
    return expectLazily([what] { return std::string(what); });
  }
  // The same where the description must be built: describe() runs only when
  // the input has ended.
  template <class Describe>
  std::string_view expectLazily(Describe describe) {
    std::string_view line;
    if (!next(line)) {
      failTruncated(describe());
    }
    return line;
  }
  // Fails unless the input has ended; after names what came last.
  void expectEnd(const std::string& after);

  // Up to count of the next bytes without taking them (fewer at the end of
  // the input), valid until the next read.
  std::string_view peek(std::size_t count);
  // Takes the next count bytes into out; false when the input ends before
  // them.
  bool bytes(void* out, std::size_t count);
  // Takes up to most of the next bytes, at least one before the end of the
  // input, and returns them (valid until the next read).
  std::string_view take(std::size_t most);
  // Bytes taken so far.
  unsigned long long offset() const { return Taken + Begin; }
  // An input error in a binary form, at the offset given.
  [[noreturn]] void failAtByte(unsigned long long offset, const std::string& message) const;

  // Number of the last line returned (0 before the first).
  unsigned long line() const { return Line; }
  const std::string& name() const { return Name; }
  // An input error at the last line returned.
  [[noreturn]] void fail(const std::string& message) const;
  [[noreturn]] void failAt(unsigned long line, const std::string& message) const;

 private:
  [[noreturn]] void failTruncated(const std::string& what) const;
  // Reads more of the input behind what is buffered; false at its end.
  bool fill();

  ByteSource Source;
  std::string Name;
  std::vector<char> Buffer;
  std::size_t Begin = 0;  // first byte not yet returned
  std::size_t End = 0;    // end of the bytes read
  bool AtEnd = false;
  unsigned long Line = 0;
  unsigned long long Taken = 0;  // bytes dropped from the front of Buffer
};

// The whole of text as an unsigned decimal number (no sign, no blanks);
// what names the field in the message.
unsigned long long parseUnsigned(const LineReader& reader, std::string_view text,
                                 std::string_view what);
// The whole of text as a decimal number with an optional minus sign.
long long parseSigned(const LineReader& reader, std::string_view text, std::string_view what);
// The whole of text as a finite floating-point number.
double parseNumber(const LineReader& reader, std::string_view text, std::string_view what);
// The fields of line, separated by blanks (spaces or tabs).
std::vector<std::string_view> fieldsOf(std::string_view line);
// The value of a "Key:value" line; fails unless line starts with key and ':'.
std::string_view valueOf(const LineReader& reader, std::string_view line, std::string_view key);
// The next line as "key:count", the count a whole number; what names it.
unsigned long long countOf(LineReader& reader, std::string_view key, const std::string& what);
// The next line as the number of state (from 1) of a file with numStates
// records; fails on another number or at the end.
void expectStateNumber(LineReader& reader, std::uint32_t state, std::uint32_t numStates);
// The next line as the name of the reward variable expected (the reward
// types file names the variables, in order).
void expectVariableName(LineReader& reader, const std::string& expected);

// Runs read on a reader over in and returns its result, or the diagnostic
// of the input error it met. Memory running out is reported, not thrown.
template <class Read>
auto readInput(std::istream& in, const std::string& name, Read read)
    -> Parsed<decltype(read(std::declval<LineReader&>()))> {
  try {
    LineReader reader(in, name);
    return read(reader);
  } catch (const InputError& error) {
    return error.diagnostic();
  } catch (const std::bad_alloc&) {
    return Diagnostic{name, 0, "not enough memory to read it"};
  }
}

// Opens path into in; what is wrong when it is not a readable regular file
// (a directory or a pipe would fail late or block).
std::optional<Diagnostic> openRegularFile(const std::string& path, std::ifstream& in);

// readInput on the regular file at path.
template <class Read>
auto readFile(const std::string& path, Read read)
    -> Parsed<decltype(read(std::declval<LineReader&>()))> {
  std::ifstream in;
  if (std::optional<Diagnostic> problem = openRegularFile(path, in)) {
    return *problem;
  }
  return readInput(in, path, read);
}

}  // namespace solver

#endif
