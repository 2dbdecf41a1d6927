#include "sim/Cp1252.hpp"

namespace norvane::sim {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Code points of the bytes 0x80-0x9F; kReplacement where Windows-1252
// defines no character.
constexpr char32_t kHigh[32] = {
    0x20AC, kReplacement, 0x201A,       0x0192, 0x201E, 0x2026, 0x2020,
    0x2021, 0x02C6,       0x2030,       0x0160, 0x2039, 0x0152, kReplacement,
    0x017D, kReplacement, kReplacement, 0x2018, 0x2019, 0x201C, 0x201D,
    0x2022, 0x2013,       0x2014,       0x02DC, 0x2122, 0x0161, 0x203A,
    0x0153, kReplacement, 0x017E,       0x0178};

char32_t CodePoint(unsigned char byte) {
  if (byte < 0x20 || byte == 0x7F) return kReplacement;
  if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
  return byte;
}

// Code points here are below U+10000: one to three bytes.
void AppendUtf8(char32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (const char byte : text) {
    AppendUtf8(CodePoint(static_cast<unsigned char>(byte)), out);
  }
  return out;
}

}  // namespace norvane::sim
