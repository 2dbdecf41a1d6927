#include "display/FormatSI.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>

namespace norvane {
namespace {

constexpr int kMaxSteps = 8;
constexpr char kSmallPrefix[kMaxSteps + 1] = {' ', 'm', '\xB5', 'n', 'p',
                                              'f', 'a', 'z',    'y'};
constexpr char kLargePrefix[kMaxSteps + 1] = {' ', 'k', 'M', 'G', 'T',
                                              'P', 'E', 'Z', 'Y'};

// The conversions of every line the page prints: mantissa, then prefix.
constexpr char kConversions[] = "%9.3f%c";
constexpr std::size_t kConversionsLength = sizeof kConversions - 1;
constexpr std::ptrdiff_t kMantissaWidth = 9;
constexpr int kMantissaDecimals = 3;

// Fills a line buffer of at least one byte, dropping what does not fit;
// Terminate() ends the line.
class LineWriter {
 public:
  LineWriter(char* dest, std::size_t destSize)
      : dest_(dest), room_(destSize - 1) {}

  void Append(const char* text, std::size_t length) {
    const std::size_t kept = std::min(length, room_ - used_);
    std::memcpy(dest_ + used_, text, kept);
    used_ += kept;
  }

  void Pad(std::ptrdiff_t count) {
    for (; count > 0 && used_ < room_; --count) dest_[used_++] = ' ';
  }

  void Terminate() { dest_[used_] = '\0'; }

 private:
  char* dest_;
  std::size_t room_;
  std::size_t used_ = 0;
};

// Prints a line of the page's shape, label "%9.3f%c" unit with no other
// conversion, without the general formatted print: std::to_chars gives the
// same digits as printf's %.3f at a fraction of the cost.  False, writing
// nothing, for a format of any other shape.
bool PrintPageLine(char* dest, std::size_t destSize, const char* format,
                   double mantissa, char prefix) {
  const char* conversions = std::strchr(format, '%');
  if (conversions == nullptr ||
      std::strncmp(conversions, kConversions, kConversionsLength) != 0) {
    return false;
  }
  const char* unit = conversions + kConversionsLength;
  if (std::strchr(unit, '%') != nullptr) return false;
  char digits[32];
  const auto [end, error] =
      std::to_chars(digits, digits + sizeof digits, mantissa,
                    std::chars_format::fixed, kMantissaDecimals);
  if (error != std::errc()) return false;

  LineWriter line(dest, destSize);
  line.Append(format, static_cast<std::size_t>(conversions - format));
  line.Pad(kMantissaWidth - (end - digits));
  line.Append(digits, static_cast<std::size_t>(end - digits));
  line.Append(&prefix, 1);
  line.Append(unit, std::strlen(unit));
  line.Terminate();
  return true;
}

}  // namespace

void FormatSI(char* dest, std::size_t destSize, const char* format,
              double value) {
  if (dest == nullptr || destSize == 0) return;
  if (format == nullptr) {
    dest[0] = '\0';
    return;
  }
  const double magnitude = std::fabs(value);
  double mantissa = value;
  char prefix = ' ';
  if (std::isnan(value) || magnitude <= 1e-24 || magnitude == 1.0) {
    // Printed as it is.
  } else if (magnitude < 1.0) {
    int steps = 0;
    while (steps < kMaxSteps) {
      mantissa *= 1000.0;
      ++steps;
      if (std::fabs(mantissa) >= 1.0) break;
    }
    prefix = kSmallPrefix[steps];
  } else if (magnitude >= 1000.0) {
    int steps = 0;
    do {
      mantissa /= 1000.0;
      ++steps;
    } while (std::fabs(mantissa) >= 1000.0 && steps < kMaxSteps);
    if (steps == kMaxSteps) {
      mantissa = mantissa > 0.0 ? 999.999 : -999.999;
    }
    prefix = kLargePrefix[steps];
  }
  if (PrintPageLine(dest, destSize, format, mantissa, prefix)) return;
  // The format comes from the caller by design; its two arguments are fixed.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int written = std::snprintf(dest, destSize, format, mantissa, prefix);
#pragma GCC diagnostic pop
  if (written < 0) dest[0] = '\0';
}

}  // namespace norvane
