// norvane-field's line printing with any values.
//
// Input: seven field elements X, Y, Z, F, H, D, I (doubles), seven rates of
// change in the same order (doubles), a count of significant digits (byte,
// modulo 18; 0 for the fixed default) and flags (byte: bit 0 radians, bit 1
// print the rates).
//
// Properties: for elements of magnitude up to 1e300 (so that a number rounded
// to a few digits still reads back as a double) with D and I in their ranges,
// the text fits its stated length, holds no newline and holds seven numbers
// (fourteen with the rates) one space apart, each reading back to its value
// (in the chosen angle unit) within the printed precision; 17 significant
// digits read back exactly, and fixed decimals are exactly std::to_chars's
// (the printer has a faster exact path of its own).  A rate that is not
// finite prints as "nan"; the rates are any doubles.  The buffer is
// allocated to the stated length, so that a write past it is caught.

#include <charconv>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string_view>

#include "Fuzz.hpp"
#include "common/Pi.hpp"
#include "tools/common/Angles.hpp"
#include "tools/field/FieldFormatter.hpp"

namespace {

using norvane::FieldElements;
using norvane::kPi;
using norvane::fuzz::Require;
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

void CheckLine(const FieldElements& f, const FieldElements* rates, int digits,
               bool radians) {
  const FieldFormatter formatter(digits, radians);
  const auto line = std::make_unique<char[]>(FieldFormatter::kMaxLength);
  const char* const end =
      formatter.Format(f, rates, nullptr, nullptr, line.get());
  const std::string_view text(line.get(), end - line.get());
  Require(text.find('\n') == std::string_view::npos, "no newline");

  const double toUnit = radians ? 1.0 : norvane::tools::kDegreesPerRadian;
  const FieldElements none = {};
  const FieldElements& r = rates ? *rates : none;
  const double values[] = {f.X, f.Y, f.Z, f.F, f.H, f.D * toUnit, f.I * toUnit,
                           r.X, r.Y, r.Z, r.F, r.H, r.D * toUnit, r.I * toUnit};
  const int columns = rates ? 14 : 7;
  const char* first = text.data();
  for (int column = 0; column < columns; ++column) {
    const char* next = first;
    if (!std::isfinite(values[column])) {
      Require(column >= 7 && text.substr(first - text.data(), 3) == "nan",
              "a rate that is not finite is nan");
      next += 3;
    } else {
      double parsed = 0.0;
      const auto read = std::from_chars(first, end, parsed);
      Require(read.ec == std::errc(), "a number");
      next = read.ptr;
      const int decimals = column % 7 < 5 ? kIntensityDecimals : kAngleDecimals;
      Require(std::fabs(parsed - values[column]) <=
                  Tolerance(values[column], digits, decimals),
              "each number reads back to its value");
      if (digits == 0) {
        char expected[400];
        const char* expectedEnd =
            std::to_chars(expected, expected + sizeof expected, values[column],
                          std::chars_format::fixed, decimals)
                .ptr;
        Require(std::string_view(first, next - first) ==
                    std::string_view(expected, expectedEnd - expected),
                "fixed columns are std::to_chars's");
      }
    }
    Require(column + 1 < columns ? next < end && *next == ' ' : next == end,
            "the numbers one space apart, nothing after");
    first = next + 1;
  }
}

FieldElements TakeElements(norvane::fuzz::FuzzInput& input) {
  FieldElements e;
  for (double* value : {&e.X, &e.Y, &e.Z, &e.F, &e.H, &e.D, &e.I})
    *value = input.Take<double>();
  return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  norvane::fuzz::FuzzInput input(data, size);
  const FieldElements f = TakeElements(input);
  const FieldElements rates = TakeElements(input);
  const int digits = input.Take<std::uint8_t>() % (kMaxDigits + 1);
  const auto flags = input.Take<std::uint8_t>();
  const bool radians = (flags & 1) != 0;
  const bool withRates = (flags & 2) != 0;
  const bool inRange = InRange(f.X) && InRange(f.Y) && InRange(f.Z) &&
                       InRange(f.F) && InRange(f.H);
  // Rates of any size that reads back, or not finite at all.
  bool ratesInRange = true;
  for (const double v :
       {rates.X, rates.Y, rates.Z, rates.F, rates.H, rates.D, rates.I})
    ratesInRange = ratesInRange && (!std::isfinite(v) || InRange(v));
  if (inRange && std::fabs(f.D) <= kPi && std::fabs(f.I) <= kPi / 2 &&
      (!withRates || ratesInRange)) {
    CheckLine(f, withRates ? &rates : nullptr, digits, radians);
  }
  return 0;
}
