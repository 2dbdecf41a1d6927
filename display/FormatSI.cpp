#include "display/FormatSI.hpp"

#include <math.h>
#include <stdio.h>

namespace norvane {
namespace {

constexpr int kMaxSteps = 8;
constexpr char kSmallPrefix[kMaxSteps + 1] = {' ', 'm', '\xB5', 'n', 'p',
                                              'f', 'a', 'z',    'y'};
constexpr char kLargePrefix[kMaxSteps + 1] = {' ', 'k', 'M', 'G', 'T',
                                              'P', 'E', 'Z', 'Y'};

}  // namespace

void FormatSI(char* dest, size_t destSize, const char* format, double value) {
  if (dest == nullptr || destSize == 0) return;
  if (format == nullptr) {
    dest[0] = '\0';
    return;
  }
  const double magnitude = fabs(value);
  double mantissa = value;
  char prefix = ' ';
  if (isnan(value) || magnitude <= 1e-24 || magnitude == 1.0) {
    // Printed as it is.
  } else if (magnitude < 1.0) {
    int steps = 0;
    while (steps < kMaxSteps) {
      mantissa *= 1000.0;
      ++steps;
      if (fabs(mantissa) >= 1.0) break;
    }
    prefix = kSmallPrefix[steps];
  } else if (magnitude >= 1000.0) {
    int steps = 0;
    do {
      mantissa /= 1000.0;
      ++steps;
    } while (fabs(mantissa) >= 1000.0 && steps < kMaxSteps);
    if (steps == kMaxSteps) {
      mantissa = mantissa > 0.0 ? 999.999 : -999.999;
    }
    prefix = kLargePrefix[steps];
  }
  // The format comes from the caller by design; its two arguments are fixed.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int written = snprintf(dest, destSize, format, mantissa, prefix);
#pragma GCC diagnostic pop
  // C runtimes differ on a line that does not fit: some cut it and end it
  // with a zero, others fill the buffer, leave it unterminated and report
  // -1 or the buffer's size.
  if (written < 0 || static_cast<size_t>(written) >= destSize) {
    dest[destSize - 1] = '\0';
  }
}

}  // namespace norvane
