#include "solver/LineReader.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>

#include "common/TextFile.h"

namespace solver {

namespace {

// Most files have short lines: the buffer starts at this size and grows
// only for a line that does not fit.
constexpr std::size_t kInitialBuffer = std::size_t(1) << 16;

}  // namespace

LineReader::LineReader(std::istream& in, std::string name)
    : Source(in), Name(std::move(name)), Buffer(kInitialBuffer) {}

bool LineReader::next(std::string_view& line) {
  for (;;) {
    const char* begin = Buffer.data() + Begin;
    const auto* feed = static_cast<const char*>(std::memchr(begin, '\n', End - Begin));
    if (feed != nullptr) {
      line = std::string_view(begin, feed - begin);
      Begin += line.size() + 1;
      Line++;
      if (Line == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") {
        line.remove_prefix(3);  // an editor's byte-order mark
      }
      if (!line.empty() && line.back() == '\r') {
        fail(
            "the line ends with a carriage return (CR LF line ends); the generator writes "
            "LF only: convert the file back");
      }
      return true;
    }
    if (End - Begin >= kMaxLine) {
      failAt(Line + 1, "line longer than " + std::to_string(kMaxLine) + " bytes");
    }
    if (!fill()) {
      if (Begin == End) {
        return false;
      }
      failAt(Line + 1, "the last line has no line feed: the file is truncated");
    }
  }
}

bool LineReader::fill() {
  if (AtEnd) {
    return false;
  }
  std::memmove(Buffer.data(), Buffer.data() + Begin, End - Begin);
  End -= Begin;
  Taken += Begin;
  Begin = 0;
  if (End == Buffer.size()) {
    Buffer.resize(std::min(2 * Buffer.size(), kMaxLine + 1));
  }
  std::size_t count = 0;
  try {
    count = Source.read(Buffer.data() + End, Buffer.size() - End);
  } catch (const ByteSource::Error& error) {
    failAt(Line + 1, error.what());
  }
  End += count;
  AtEnd = count == 0;
  return count > 0;
}

std::string_view LineReader::peek(std::size_t count) {
  while (End - Begin < count && fill()) {
  }
  return std::string_view(Buffer.data() + Begin, std::min(count, End - Begin));
}

bool LineReader::bytes(void* out, std::size_t count) {
  char* to = static_cast<char*>(out);
  while (count > 0) {
    const std::string_view part = take(count);
    if (part.empty()) {
      return false;
    }
    std::memcpy(to, part.data(), part.size());
    to += part.size();
    count -= part.size();
  }
  return true;
}

std::string_view LineReader::take(std::size_t most) {
  if (Begin == End && !fill()) {
    return {};
  }
  const std::size_t count = std::min(most, End - Begin);
  Begin += count;
  return std::string_view(Buffer.data() + Begin - count, count);
}

void LineReader::failAtByte(unsigned long long offset, const std::string& message) const {
  throw InputError(Diagnostic{Name, 0, "at byte " + std::to_string(offset) + ": " + message});
}

void LineReader::failTruncated(const std::string& what) const {
  failAt(Line + 1, "the file ends where " + what + " should follow: it is truncated");
}

void LineReader::expectEnd(const std::string& after) {
  std::string_view line;
  if (next(line)) {
    fail("unexpected line after " + after);
  }
}

void LineReader::fail(const std::string& message) const { failAt(Line, message); }

void LineReader::failAt(unsigned long line, const std::string& message) const {
  throw InputError(Diagnostic{Name, line, message});
}

namespace {

std::string quoted(std::string_view text) {
  const std::size_t kShown = 40;
  if (text.size() > kShown) {
    return "\"" + std::string(text.substr(0, kShown)) + "...\"";
  }
  return "\"" + std::string(text) + "\"";
}

template <class Integer>
Integer parseInteger(const LineReader& reader, std::string_view text, std::string_view what) {
  Integer value = 0;
  const char* end = text.data() + text.size();
  const std::from_chars_result result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec == std::errc::invalid_argument || result.ptr != end) {
    reader.fail(std::string(what) + " expected, not " + quoted(text));
  }
  if (result.ec == std::errc::result_out_of_range) {
    reader.fail(std::string(what) + " " + quoted(text) + " is out of range");
  }
  return value;
}

}  // namespace

unsigned long long parseUnsigned(const LineReader& reader, std::string_view text,
                                 std::string_view what) {
  return parseInteger<unsigned long long>(reader, text, what);
}

long long parseSigned(const LineReader& reader, std::string_view text, std::string_view what) {
  return parseInteger<long long>(reader, text, what);
}

double parseNumber(const LineReader& reader, std::string_view text, std::string_view what) {
  double value = 0.0;
  const char* end = text.data() + text.size();
  const std::from_chars_result result = std::from_chars(text.data(), end, value);
  if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
    reader.fail(std::string(what) + " expected (a finite number), not " + quoted(text));
  }
  return value;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t start = line.find_first_not_of(" \t", at);
    if (start == std::string_view::npos) {
      break;
    }
    const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
    fields.push_back(line.substr(start, end - start));
    at = end;
  }
  return fields;
}

std::string_view valueOf(const LineReader& reader, std::string_view line, std::string_view key) {
  if (line.size() <= key.size() || line.substr(0, key.size()) != key || line[key.size()] != ':') {
    reader.fail("\"" + std::string(key) + ":\" expected, not " + quoted(line));
  }
  return line.substr(key.size() + 1);
}

unsigned long long countOf(LineReader& reader, std::string_view key, const std::string& what) {
  return parseUnsigned(reader, valueOf(reader, reader.expect(std::string(key) + ":"), key), what);
}

void expectStateNumber(LineReader& reader, std::uint32_t state, std::uint32_t numStates) {
  const auto record = [state, numStates] {
    return "the record of state " + std::to_string(state) + " (the state space has " +
           std::to_string(numStates) + ")";
  };
  if (parseUnsigned(reader, reader.expectLazily(record), "a state number") != state) {
    reader.fail(record() + " expected");
  }
}

void expectVariableName(LineReader& reader, const std::string& expected) {
  const std::string_view name = reader.expect("the name of reward variable " + expected);
  if (name != expected) {
    reader.fail("reward variable \"" + std::string(name.substr(0, 80)) +
                "\" where the reward types name \"" + expected + "\"");
  }
}

std::optional<Diagnostic> openRegularFile(const std::string& path, std::ifstream& in) {
  if (std::optional<std::string> problem = notRegularFile(path)) {
    return Diagnostic{path, 0, *problem};
  }
  in.open(path, std::ios::binary);
  if (!in) {
    return Diagnostic{path, 0, std::string("cannot be opened: ") + std::strerror(errno)};
  }
  return std::nullopt;
}

}  // namespace solver
