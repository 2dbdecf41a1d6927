// norvane-field's line printing with any values.
//
// Input: seven field elements X, Y, Z, F, H, D, I (doubles), a count of
// significant digits (byte, modulo 18; 0 for the fixed default) and the
// angle unit (byte: odd for radians).
//
// Properties: for elements of magnitude up to 1e300 (so that a number rounded
// to a few digits still reads back as a double) with D and I in their ranges,
// a line fits its stated length, ends in its only newline and holds seven
// numbers one space apart, each reading back to its element (in the chosen
// angle unit) within the printed precision; 17 significant digits read back
// exactly.  The line buffer is allocated to the stated length, so that a
// write past it is caught.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string_view>

#include "Fuzz.hpp"
#include "common/Pi.hpp"
#include "tools/Angles.hpp"
#include "tools/FieldFormatter.hpp"

namespace {

using norvane::kPi;
using norvane::fuzz::Require;
using norvane::tools::FieldElements;
using norvane::tools::FieldFormatter;

constexpr int kMaxDigits = 17;
constexpr int kIntensityDecimals = 3;
constexpr int kAngleDecimals = 6;
constexpr double kLargestIntensity = 1e300;  // nT

bool InRange(double intensity) {
  return std::fabs(intensity) <= kLargestIntensity;
}

// How far a printed number may lie from its value: half a unit of its last
// digit, plus two units in the last place of a double for the reading back.
double Tolerance(double value, int digits, int decimals) {
  if (digits == kMaxDigits) return 0.0;
  const double readBack = 4.5e-16 * std::fabs(value);
  if (digits == 0) return 0.5 * std::pow(10.0, -decimals) + readBack;
  return 0.5 * std::pow(10.0, 1 - digits) * std::fabs(value) + readBack;
}

void CheckLine(const FieldElements& f, int digits, bool radians) {
  const FieldFormatter formatter(digits, radians);
  const auto line = std::make_unique<char[]>(FieldFormatter::kMaxLineLength);
  const char* const end = formatter.Format(f, line.get());
  const std::string_view text(line.get(), end - line.get());
  Require(!text.empty() && text.back() == '\n' &&
              text.find('\n') == text.size() - 1,
          "one line, ending in a newline");

  const double toUnit = radians ? 1.0 : norvane::tools::kDegreesPerRadian;
  const double values[] = {f.X, f.Y, f.Z, f.F, f.H, f.D * toUnit, f.I * toUnit};
  const char* first = text.data();
  for (int column = 0; column < 7; ++column) {
    double parsed = 0.0;
    const auto [next, ec] = std::from_chars(first, end, parsed);
    Require(
        ec == std::errc() && next < end && *next == (column < 6 ? ' ' : '\n'),
        "seven numbers, one space apart");
    const int decimals = column < 5 ? kIntensityDecimals : kAngleDecimals;
    Require(std::fabs(parsed - values[column]) <=
                Tolerance(values[column], digits, decimals),
            "each number reads back to its element");
    first = next + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  norvane::fuzz::FuzzInput input(data, size);
  FieldElements f;
  f.X = input.Take<double>();
  f.Y = input.Take<double>();
  f.Z = input.Take<double>();
  f.F = input.Take<double>();
  f.H = input.Take<double>();
  f.D = input.Take<double>();
  f.I = input.Take<double>();
  const int digits = input.Take<std::uint8_t>() % (kMaxDigits + 1);
  const bool radians = (input.Take<std::uint8_t>() & 1) != 0;
  const bool inRange = InRange(f.X) && InRange(f.Y) && InRange(f.Z) &&
                       InRange(f.F) && InRange(f.H);
  if (inRange && std::fabs(f.D) <= kPi && std::fabs(f.I) <= kPi / 2) {
    CheckLine(f, digits, radians);
  }
  return 0;
}
