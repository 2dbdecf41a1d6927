#include "tools/FieldFormatter.hpp"

#include <charconv>
#include <cmath>
#include <cstring>

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
  if (!std::isfinite(value)) {
    std::memcpy(out, "nan", 3);
    return out + 3;
  }
  if (significantDigits_ == 0) {
    return std::to_chars(out, out + kMaxNumberLength, value,
                         std::chars_format::fixed, decimals)
        .ptr;
  }
  return std::to_chars(out, out + kMaxNumberLength, value,
                       std::chars_format::general, significantDigits_)
      .ptr;
}

char* FieldFormatter::Columns(const FieldElements& e, char* out) const {
  const double intensities[] = {e.X, e.Y, e.Z, e.F, e.H};
  for (const double value : intensities) {
    out = Number(value, kIntensityDecimals, out);
    *out++ = ' ';
  }
  out = Number(radians_ ? e.D : Degrees(e.D), kAngleDecimals, out);
  *out++ = ' ';
  return Number(radians_ ? e.I : Degrees(e.I), kAngleDecimals, out);
}

char* FieldFormatter::Format(const FieldElements& field,
                             const FieldElements* rates, char* out) const {
  out = Columns(field, out);
  if (rates == nullptr) return out;
  *out++ = ' ';
  return Columns(*rates, out);
}

const char* FieldFormatter::Header(bool rates) const {
  if (rates) {
    return radians_ ? "X_nT Y_nT Z_nT F_nT H_nT D_rad I_rad dX_nT/yr "
                      "dY_nT/yr dZ_nT/yr dF_nT/yr dH_nT/yr dD_rad/yr "
                      "dI_rad/yr\n"
                    : "X_nT Y_nT Z_nT F_nT H_nT D_deg I_deg dX_nT/yr "
                      "dY_nT/yr dZ_nT/yr dF_nT/yr dH_nT/yr dD_deg/yr "
                      "dI_deg/yr\n";
  }
  return radians_ ? "X_nT Y_nT Z_nT F_nT H_nT D_rad I_rad\n"
                  : "X_nT Y_nT Z_nT F_nT H_nT D_deg I_deg\n";
}

}  // namespace norvane::tools
