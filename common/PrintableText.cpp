#include "common/PrintableText.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

// The length of the well-formed UTF-8 sequence at text[at] (2 to 4 bytes)
// and its code point; 0 when the bytes there are not one.
std::size_t utf8Sequence(std::string_view text, std::size_t at, std::uint32_t& code) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  std::uint32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, smallest = 0x10000;
  } else {
    return 0;
  }
  if (at + length > text.size()) {
    return 0;
  }
  for (std::size_t i = 1; i < length; i++) {
    if ((byte(i) & 0xC0) != 0x80) {
      return 0;
    }
    code = (code << 6) | (byte(i) & 0x3F);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code < smallest || code > 0x10FFFF || surrogate ? 0 : length;
}

// Code points beyond ASCII that print nothing or change how the rest of the
// line shows: C1 controls, format and separator characters.
bool invisible(std::uint32_t code) {
  return code < 0xA0 || code == 0xAD || (code >= 0x200B && code <= 0x200F) ||
         (code >= 0x2028 && code <= 0x202E) || (code >= 0x2060 && code <= 0x206F) ||
         code == 0xFEFF || (code >= 0xFFF9 && code <= 0xFFFB);
}

void appendEscaped(std::string& out, unsigned char c) {
  static const char kHex[] = "0123456789abcdef";
  switch (c) {
    case '\t':
      out += "\\t";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    default:
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
  }
}

}  // namespace

std::string printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
      at++;
      continue;
    }
    std::uint32_t code = 0;
    const std::size_t length = c >= 0x80 ? utf8Sequence(text, at, code) : 0;
    if (length > 0 && !invisible(code)) {
      out.append(text.substr(at, length));
      at += length;
      continue;
    }
    for (std::size_t i = 0; i < (length > 0 ? length : 1); i++) {
      appendEscaped(out, static_cast<unsigned char>(text[at + i]));
    }
    at += length > 0 ? length : 1;
  }
  return out;
}

std::string compactNumber(double value) {
  if (std::isnan(value)) {
    return "nan";
  }
  if (std::isinf(value)) {
    return value > 0 ? "inf" : "-inf";
  }
  char text[64];
  const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}
