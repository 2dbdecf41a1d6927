#include "display/FormatSI.hpp"

#include <cmath>
#include <cstdio>

namespace norvane {
namespace {

constexpr int kMaxSteps = 8;
constexpr char kSmallPrefix[kMaxSteps + 1] = {' ', 'm', '\xB5', 'n', 'p',
                                              'f', 'a', 'z',    'y'};
constexpr char kLargePrefix[kMaxSteps + 1] = {' ', 'k', 'M', 'G', 'T',
                                              'P', 'E', 'Z', 'Y'};

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
  // The format comes from the caller by design; its two arguments are fixed.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int written = std::snprintf(dest, destSize, format, mantissa, prefix);
#pragma GCC diagnostic pop
  if (written < 0) dest[0] = '\0';
}

}  // namespace norvane
