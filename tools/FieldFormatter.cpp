#include "tools/FieldFormatter.hpp"

#include <charconv>

#include "tools/Angles.hpp"

namespace norvane::tools {
namespace {

constexpr int kIntensityDecimals = 3;
constexpr int kAngleDecimals = 6;
// Room for one column, fixed-point or general: a sign, the 309 integer
// digits of the largest double, the point and the decimals.
constexpr std::size_t kMaxNumberLength = 330;

}  // namespace

FieldFormatter::FieldFormatter(int significantDigits, bool radians)
    : significantDigits_(significantDigits), radians_(radians) {}

char* FieldFormatter::Number(double value, int decimals, char* out) const {
  if (significantDigits_ == 0) {
    return std::to_chars(out, out + kMaxNumberLength, value,
                         std::chars_format::fixed, decimals)
        .ptr;
  }
  return std::to_chars(out, out + kMaxNumberLength, value,
                       std::chars_format::general, significantDigits_)
      .ptr;
}

char* FieldFormatter::Format(const FieldElements& field, char* out) const {
  const double intensities[] = {field.X, field.Y, field.Z, field.F, field.H};
  for (const double value : intensities) {
    out = Number(value, kIntensityDecimals, out);
    *out++ = ' ';
  }
  out = Number(radians_ ? field.D : Degrees(field.D), kAngleDecimals, out);
  *out++ = ' ';
  out = Number(radians_ ? field.I : Degrees(field.I), kAngleDecimals, out);
  *out++ = '\n';
  return out;
}

const char* FieldFormatter::Header() const {
  return radians_ ? "X_nT Y_nT Z_nT F_nT H_nT D_rad I_rad\n"
                  : "X_nT Y_nT Z_nT F_nT H_nT D_deg I_deg\n";
}

}  // namespace norvane::tools
