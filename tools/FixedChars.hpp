#pragma once
/**
 * \file FixedChars.hpp
 * \brief Fixed-point printing with a set count of decimals, fast for the
 *   magnitudes a field tool prints.
 */

#include <cstddef>

namespace norvane::tools {

/// Longest text FixedChars writes: a sign, the 309 integer digits of the
/// largest double, the point and nine decimals.
constexpr std::size_t kMaxFixedCharsLength = 320;

/**
 * Writes a double in fixed notation, character for character as
 * std::to_chars(first, last, value, std::chars_format::fixed, decimals):
 * the exact binary value correctly rounded, ties to even, a '-' for every
 * negative value (also one that rounds to zero), no exponent.
 *
 * For |value| < 2^32 the rounding is done in exact integer arithmetic and
 * only the integer digits go through std::to_chars (several times faster
 * than std::to_chars with a precision); other values, infinities and NaNs
 * go to std::to_chars itself.
 *
 * @param[out] first where to write; room for kMaxFixedCharsLength chars.
 * @param[in] value any double.
 * @param[in] decimals digits after the point, 0..9.
 * @return one past the last character written.
 */
char* FixedChars(char* first, double value, int decimals);

}  // namespace norvane::tools
