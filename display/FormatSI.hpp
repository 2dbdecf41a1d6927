#pragma once
/**
 * \file FormatSI.hpp
 * \brief Printing a value with a three-decimal mantissa and an SI prefix.
 */

#include <stddef.h>

namespace norvane {

/**
 * Formats one value with an SI prefix into a caller's buffer.
 *
 * The value is scaled by powers of 1000 until its magnitude lies in
 * [1, 1000): below 1 at most 8 steps (m, the micro sign 0xB5, n, p, f, a, z,
 * y), from 1000 on at most 8 steps (k, M, G, T, P, E, Z, Y); the prefix of no
 * step is a blank.  Magnitudes of 1e24 and more, the infinities included,
 * print as +-999.999 with Y.  NaN, and magnitudes of 1e-24 and less, zero
 * included, print unscaled with a blank.  Units are the caller's: every value
 * is scaled alike.
 *
 * @param[out] dest destination buffer; receives one zero-terminated line,
 *   cut short to fit.  Nothing is written when dest is null or destSize is 0.
 * @param[in] destSize size of dest in bytes, terminating zero included.
 * @param[in] format printf-style format taking exactly a double (the
 *   mantissa) and then a character (the prefix), e.g. "x:   %9.3f%cT"; a
 *   null format gives an empty line.
 * @param[in] value the value to print, in the caller's unit.
 */
void FormatSI(char* dest, size_t destSize, const char* format, double value);

}  // namespace norvane
