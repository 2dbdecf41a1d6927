#include "tools/model/Utf8Text.hpp"

#include <cstdio>

namespace norvane {
namespace {

unsigned Byte(std::string_view text, std::size_t i) {
  return static_cast<unsigned char>(text[i]);
}

// The code point of a sequence whose form Utf8SequenceLength checked.
unsigned CodePoint(std::string_view text, std::size_t length) {
  static const unsigned kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  unsigned code = Byte(text, 0) & kLeadMask[length];
  for (std::size_t i = 1; i < length; ++i)
    code = code << 6 | (Byte(text, i) & 0x3F);
  return code;
}

bool IsControl(unsigned code) {
  return code < 0x20 || (code >= 0x7F && code < 0xA0);
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
  const unsigned lead = Byte(text, 0);
  const std::size_t length = lead < 0x80   ? 1
                             : lead < 0xC2 ? 0  // continuation or overlong
                             : lead < 0xE0 ? 2
                             : lead < 0xF0 ? 3
                             : lead < 0xF5 ? 4
                                           : 0;
  if (length == 0 || length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((Byte(text, i) & 0xC0) != 0x80) return 0;
  }
  const unsigned code = CodePoint(text, length);
  const bool overlong =
      (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  const bool surrogate = code >= 0xD800 && code < 0xE000;
  return overlong || surrogate || code > 0x10FFFF ? 0 : length;
}

bool IsUtf8(std::string_view text) {
  while (!text.empty()) {
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}

std::string Printable(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    std::size_t length = Utf8SequenceLength(text);
    if (length > 0 && !IsControl(CodePoint(text, length))) {
      out.append(text.substr(0, length));
    } else {
      length = length > 0 ? length : 1;
      for (std::size_t i = 0; i < length; ++i) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\x%02X", Byte(text, i));
        out += escape;
      }
    }
    text.remove_prefix(length);
  }
  return out;
}

}  // namespace norvane
