// FormatSI with any value, any of the page's row formats and a destination of
// any size up to 300 bytes, allocated to exactly that size so that a write
// past its end is caught.
//
// Input: value (double), format index (byte; one past the row formats stands
// for a null format), destination size (uint16).
//
// Properties: a null destination or a size of 0 is left alone, a null format
// gives an empty line.  Otherwise the line is
// terminated inside the buffer and is the start of the line a large buffer
// gets.  That full line is the label, a mantissa, a prefix and the unit, and
// for 1e-24 < |value| < 1e24 the mantissa lies in [1, 1000] as printed and,
// times its prefix's power of 1000, gives back the value to the printed
// precision.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "Fuzz.hpp"
#include "display/FormatSI.hpp"

namespace {

using norvane::fuzz::Require;

// The page's row formats: label, mantissa, prefix, unit.
constexpr const char* kFormats[] = {
    "lat: %9.3f%c\xB0", "lon: %9.3f%c\xB0",   "rad: %9.3f%cm",
    "x:   %9.3f%cT",    "y:   %9.3f%cT",      "z:   %9.3f%cT",
    "h:   %9.3f%cT",    "ti:  %9.3f%cT",      "dec: %9.3f%c\xB0",
    "dip: %9.3f%c\xB0", "THead: %9.3f%c\xB0", "MHead: %9.3f%c\xB0",
};
constexpr std::size_t kFormatCount = sizeof kFormats / sizeof kFormats[0];
constexpr std::size_t kMaxDestSize = 300;

// Powers of 1000 of the prefixes, or 99 for a character that is none.
int PrefixPower(char prefix) {
  constexpr std::string_view kSmall = " m\xB5npfazy";
  constexpr std::string_view kLarge = " kMGTPEZY";
  if (const auto i = kLarge.find(prefix); i != std::string_view::npos) {
    return static_cast<int>(i);
  }
  if (const auto i = kSmall.find(prefix); i != std::string_view::npos) {
    return -static_cast<int>(i);
  }
  return 99;
}

// Splits the full line into mantissa and prefix, checking label and unit.
void ParseLine(const std::string& line, std::string_view format,
               double& mantissa, char& prefix) {
  const std::size_t field = format.find('%');
  const std::string_view label = format.substr(0, field);
  const std::string_view unit = format.substr(format.find("%c") + 2);
  Require(line.size() > label.size() + unit.size() + 1 &&
              line.compare(0, label.size(), label) == 0 &&
              line.compare(line.size() - unit.size(), unit.size(), unit) == 0,
          "line is label, mantissa, prefix, unit");
  const std::string number =
      line.substr(label.size(), line.size() - label.size() - unit.size() - 1);
  prefix = line[line.size() - unit.size() - 1];
  char* end = nullptr;
  mantissa = std::strtod(number.c_str(), &end);
  Require(end == number.c_str() + number.size() && number.size() >= 9,
          "mantissa is one number, at least nine characters wide");
}

void CheckMantissa(double value, double mantissa, char prefix) {
  const double magnitude = std::fabs(value);
  if (std::isnan(value)) {
    Require(std::isnan(mantissa) && prefix == ' ', "NaN prints unscaled");
  } else if (magnitude >= 1e24) {
    Require(mantissa == (value > 0 ? 999.999 : -999.999) && prefix == 'Y',
            "1e24 and beyond print +-999.999 Y");
  } else if (magnitude <= 1e-24) {
    Require(mantissa == 0.0 && prefix == ' ', "tiny values print unscaled");
  } else {
    const int power = PrefixPower(prefix);
    Require(power != 99, "prefix is an SI prefix or blank");
    Require(std::fabs(mantissa) >= 1.0 && std::fabs(mantissa) <= 1000.0,
            "mantissa in [1, 1000] as printed");
    Require(std::signbit(mantissa) == std::signbit(value), "sign kept");
    // Half a unit of the third decimal, scaled, plus the rounding of up to
    // eight scaling steps and of this check's own arithmetic.
    const double scale = std::pow(1000.0, power);
    Require(std::fabs(mantissa * scale - value) <=
                0.0005 * scale + 1e-12 * magnitude,
            "mantissa times prefix gives back the value");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  norvane::fuzz::FuzzInput input(data, size);
  const double value = input.Take<double>();
  const std::size_t formatIndex =
      input.Take<std::uint8_t>() % (kFormatCount + 1);
  const std::size_t destSize = input.Take<std::uint16_t>() % (kMaxDestSize + 1);
  norvane::FormatSI(nullptr, destSize, "%9.3f%c", value);

  const std::unique_ptr<char[]> dest(new char[destSize]);
  std::memset(dest.get(), 'x', destSize);
  if (formatIndex == kFormatCount) {
    norvane::FormatSI(dest.get(), destSize, nullptr, value);
    Require(destSize == 0 || dest[0] == '\0', "a null format, an empty line");
    return 0;
  }
  const char* format = kFormats[formatIndex];

  char full[512];
  norvane::FormatSI(full, sizeof full, format, value);
  Require(std::memchr(full, '\0', sizeof full) != nullptr,
          "full line terminated");
  const std::string line(full);

  norvane::FormatSI(dest.get(), destSize, format, value);
  if (destSize > 0) {
    const void* end = std::memchr(dest.get(), '\0', destSize);
    Require(end != nullptr, "line terminated inside the buffer");
    Require(std::string_view(dest.get()) ==
                std::string_view(line).substr(0, destSize - 1),
            "short buffer holds the start of the line, as far as it goes");
  }

  double mantissa = 0.0;
  char prefix = 0;
  ParseLine(line, format, mantissa, prefix);
  CheckMantissa(value, mantissa, prefix);
  return 0;
}
