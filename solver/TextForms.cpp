#include "solver/TextForms.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <system_error>

#include "generator/StateSpaceLayout.h"
#include "solver/BinaryFiles.h"

namespace solver {

namespace {

namespace layout = state_space_layout;

void write(std::FILE* out, std::string_view text) {
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) {
    throw std::system_error(errno, std::generic_category());
  }
}

void writeUnsigned(std::FILE* out, std::uint64_t value) {
  char text[24];
  char* end = std::to_chars(text, text + sizeof text, value).ptr;
  *end++ = '\n';
  write(out, std::string_view(text, end - text));
}

// "%.10e", as the generator writes the ".arm" and ".det" values.
void writeScientific(std::FILE* out, double value) {
  char text[40];
  char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 10).ptr;
  *end++ = '\n';
  write(out, std::string_view(text, end - text));
}

// "%g", as the generator writes the ".var" values.
void writeGeneral(std::FILE* out, double value) {
  char text[40];
  char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6).ptr;
  *end++ = '\n';
  write(out, std::string_view(text, end - text));
}

std::string stateText(std::uint64_t state) { return "state " + std::to_string(state); }

}  // namespace

void copyText(LineReader& in, std::FILE* out) {
  for (std::string_view part; !(part = in.take(std::size_t(1) << 16)).empty();) {
    write(out, part);
  }
}

void writeTextStateSpace(LineReader& in, std::FILE* out) {
  if (!isBinaryStateSpace(in)) {
    copyText(in, out);
    return;
  }
  std::uint64_t count = 0;
  std::uint64_t flags = 0;
  const std::size_t width = readBinaryHead(in, count, flags);
  const bool deterministic = (flags & layout::kDeterministic) != 0;
  write(out, layout::TextHead(count, deterministic ? layout::kDeterministicPlaceholder
                                                   : layout::kNormalPlaceholder));
  for (std::uint64_t state = 1; state <= count; state++) {
    const std::uint64_t number =
        readUnsigned(in, width, [state] { return "the record of " + stateText(state); });
    if (number != state) {
      in.failAtByte(in.offset() - width,
                    "the record of " + stateText(state) + " expected, not that of " +
                        stateText(number));
    }
    writeUnsigned(out, number);
    const std::uint64_t entries =
        readUnsigned(in, 4, [state] { return "the entries of " + stateText(state); });
    for (std::uint64_t e = 0; e < entries; e++) {
      writeUnsigned(out, readUnsigned(in, width, [state] {
                      return "a target of " + stateText(state);
                    }));
      writeScientific(out, readDouble(in, [state] { return "a value of " + stateText(state); }));
    }
    write(out, "0\n");
  }
  if (!in.peek(1).empty()) {
    in.failAtByte(in.offset(), "unexpected bytes after the record of the last state");
  }
}

void writeTextRewards(LineReader& in, std::size_t numVariables, std::FILE* out) {
  for (std::size_t v = 0; v < numVariables; v++) {
    write(out, in.expect("the name of a reward variable"));
    write(out, "\n");
  }
  if (!isBinaryRewardRecords(in)) {
    copyText(in, out);
    return;
  }
  while (!in.peek(1).empty()) {
    writeUnsigned(out, readUnsigned(in, 4, "a state number"));
    for (std::size_t v = 0; v < 2 * numVariables; v++) {
      writeGeneral(out, readDouble(in, [] { return "a reward"; }));
    }
  }
}

void writeTextDelays(LineReader& in, std::FILE* out) {
  if (!isBinaryDelays(in)) {
    copyText(in, out);
    return;
  }
  const std::uint64_t count = readUnsigned(in, 4, "the number of delays");
  writeUnsigned(out, count);
  for (std::uint64_t i = 0; i < count; i++) {
    writeScientific(out, readDouble(in, [] { return "a delay"; }));
    for (std::uint64_t state; (state = readUnsigned(in, 4, "a state or the 0 ending the list"));) {
      writeUnsigned(out, state);
    }
    write(out, "0\n");
  }
  if (!in.peek(1).empty()) {
    in.failAtByte(in.offset(), "unexpected bytes after the last delay's list");
  }
}

std::optional<Diagnostic> convertToText(const std::string& path, const std::string& suffix,
                                        std::size_t numVariables, const std::string& target) {
  std::ifstream in;
  if (std::optional<Diagnostic> problem = openRegularFile(path, in)) {
    return problem;
  }
  const std::string partial = target + ".part";
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(partial.c_str(), "wb"),
                                                       std::fclose);
  if (!out) {
    return Diagnostic{target, 0, std::string("cannot be written: ") + std::strerror(errno)};
  }
  Parsed<bool> converted = readInput(in, path, [&](LineReader& reader) {
    try {
      if (suffix == ".arm") {
        writeTextStateSpace(reader, out.get());
      } else if (suffix == ".var") {
        writeTextRewards(reader, numVariables, out.get());
      } else if (suffix == ".det") {
        writeTextDelays(reader, out.get());
      } else {
        copyText(reader, out.get());
      }
    } catch (const std::system_error& error) {
      throw InputError({target, 0, std::string("cannot be written: ") + error.what()});
    }
    return true;
  });
  const bool closed = std::fclose(out.release()) == 0;
  if (converted.ok() && !closed) {
    converted = Diagnostic{target, 0, std::string("cannot be written: ") + std::strerror(errno)};
  }
  if (converted.ok() && std::rename(partial.c_str(), target.c_str()) != 0) {
    converted = Diagnostic{target, 0, std::string("cannot be written: ") + std::strerror(errno)};
  }
  if (!converted.ok()) {
    std::remove(partial.c_str());
    return converted.error();
  }
  return std::nullopt;
}

}  // namespace solver
