#include "tools/FixedChars.hpp"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace norvane::tools {
namespace {

constexpr int kMaxDecimals = 9;
constexpr std::uint64_t kPow5[kMaxDecimals + 1] = {
    1, 5, 25, 125, 625, 3125, 15625, 78125, 390625, 1953125};
constexpr std::uint64_t kPow10[kMaxDecimals + 1] = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

#ifdef __SIZEOF_INT128__
__extension__ typedef unsigned __int128 Wide;

// Writes |value| rounded to kDecimals, value = mantissa x 2^exponent, with
// exponent <= -21 so that the result fits 64 bits.  One function per count
// of decimals, so that the divisions are by constants.
template <int decimals>
char* SmallFixedChars(char* first, std::uint64_t mantissa, int exponent) {
  // value x 10^d = (mantissa x 5^d) x 2^-(shift), exactly; shift >= 12, and
  // the product is below 2^53 x 5^9 < 2^74.
  const Wide scaled = Wide{mantissa} * kPow5[decimals];
  const int shift = -exponent - decimals;
  std::uint64_t rounded = 0;
  if (shift < 100) {  // otherwise the scaled value is below one half
    rounded = static_cast<std::uint64_t>(scaled >> shift);
    const Wide rest = scaled - (Wide{rounded} << shift);
    const Wide half = Wide{1} << (shift - 1);
    if (rest > half || (rest == half && (rounded & 1) != 0)) ++rounded;
  }
  constexpr std::uint64_t unit = kPow10[decimals];
  first = std::to_chars(first, first + 20, rounded / unit).ptr;
  if constexpr (decimals > 0) {
    *first++ = '.';
    std::uint64_t fraction = rounded % unit;
    for (int i = decimals - 1; i >= 0; --i) {
      first[i] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    first += decimals;
  }
  return first;
}

using SmallFixedCharsWriter = char* (*)(char*, std::uint64_t, int);
constexpr SmallFixedCharsWriter kSmallFixedChars[kMaxDecimals + 1] = {
    SmallFixedChars<0>, SmallFixedChars<1>, SmallFixedChars<2>,
    SmallFixedChars<3>, SmallFixedChars<4>, SmallFixedChars<5>,
    SmallFixedChars<6>, SmallFixedChars<7>, SmallFixedChars<8>,
    SmallFixedChars<9>};
#endif

}  // namespace

char* FixedChars(char* first, double value, int decimals) {
#ifdef __SIZEOF_INT128__
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>(bits >> 52 & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  // |value| = mantissa x 2^exponent; subnormals have no hidden bit.
  const std::uint64_t mantissa =
      biased == 0 ? fraction : fraction | std::uint64_t{1} << 52;
  const int exponent = (biased == 0 ? 1 : biased) - 1075;
  // exponent <= -21 means |value| < 2^32, and excludes infinities and NaNs.
  if (exponent <= -21 && decimals >= 0 && decimals <= kMaxDecimals) {
    if ((bits >> 63) != 0) *first++ = '-';
    return kSmallFixedChars[decimals](first, mantissa, exponent);
  }
#endif
  return std::to_chars(first, first + kMaxFixedCharsLength, value,
                       std::chars_format::fixed, decimals)
      .ptr;
}

}  // namespace norvane::tools
