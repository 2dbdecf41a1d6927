#include "tools/field/FieldFormatter.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "tools/common/Angles.hpp"

namespace norvane::tools {
namespace {

constexpr int kIntensityDecimals = 3;
constexpr int kAngleDecimals = 6;
// Room for one column, fixed-point or general: a sign, the 309 integer
// digits of the largest double, the point and the decimals.
constexpr std::size_t kMaxNumberLength = 330;

__extension__ typedef unsigned __int128 Uint128;

constexpr std::uint64_t kPowersOfTen[] = {1,     10,     100,    1000,
                                          10000, 100000, 1000000};

// `value` with `decimals` (1 to 6) fixed decimals, rounded exactly, ties to
// even, as std::to_chars writes it, for |value| < 2^52 and |value|
// 10^decimals < 2^63; nullptr for larger values.  The double is m 2^e exactly,
// so m 10^decimals 2^e is the scaled value, rounded at bit -e of a 128-bit
// product: no rounding error at all, and several times faster than the general
// printer.
char* FixedDecimals(double value, int decimals, char* out) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  const std::uint64_t m =
      biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
  const int shift = biased == 0 ? 1074 : 1075 - biased;  // -e
  if (shift <= 0) return nullptr;
  const Uint128 product = Uint128{m} * kPowersOfTen[decimals];  // < 2^73
  std::uint64_t q = 0;
  if (shift < 74) {
    if ((product >> shift) >> 63 != 0) return nullptr;  // q would not fit
    q = static_cast<std::uint64_t>(product >> shift);
    const Uint128 rest = product - (Uint128{q} << shift);
    const Uint128 half = Uint128{1} << (shift - 1);
    if (rest > half || (rest == half && (q & 1) != 0)) ++q;
  }  // else the product is below half a unit: 0
  if ((bits >> 63) != 0) *out++ = '-';
  char digits[24];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + q % 10);
    q /= 10;
  } while (q != 0 || count <= decimals);
  while (count > decimals) *out++ = digits[--count];
  *out++ = '.';
  while (count > 0) *out++ = digits[--count];
  return out;
}

}  // namespace

FieldFormatter::FieldFormatter(int significantDigits, bool radians)
    : significantDigits_(significantDigits), radians_(radians) {}

char* FieldFormatter::Number(double value, int decimals, char* out) const {
  if (!std::isfinite(value)) {
    std::memcpy(out, "nan", 3);
    return out + 3;
  }
  if (significantDigits_ == 0) {
    if (char* end = FixedDecimals(value, decimals, out)) return end;
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
                             const FieldElements* rates,
                             const double* gridVariation,
                             const FieldElements* uncertainty,
                             char* out) const {
  out = Columns(field, out);
  if (rates != nullptr) {
    *out++ = ' ';
    out = Columns(*rates, out);
  }
  if (gridVariation != nullptr) {
    *out++ = ' ';
    out = Number(radians_ ? *gridVariation : Degrees(*gridVariation),
                 kAngleDecimals, out);
  }
  if (uncertainty != nullptr) {
    *out++ = ' ';
    out = Columns(*uncertainty, out);
  }
  return out;
}

std::string FieldFormatter::Header(bool rates, bool gridVariation,
                                   bool uncertainty) const {
  const std::string angle = radians_ ? "_rad" : "_deg";
  std::string header = "X_nT Y_nT Z_nT F_nT H_nT D" + angle + " I" + angle;
  if (rates) {
    header += " dX_nT/yr dY_nT/yr dZ_nT/yr dF_nT/yr dH_nT/yr dD" + angle +
              "/yr dI" + angle + "/yr";
  }
  if (gridVariation) header += " GV" + angle;
  if (uncertainty) {
    header += " sX_nT sY_nT sZ_nT sF_nT sH_nT sD" + angle + " sI" + angle;
  }
  return header + "\n";
}

}  // namespace norvane::tools
