#pragma once
/**
 * \file Steps.hpp
 * \brief Evenly spaced values from a first to a last, both ends included:
 *   the rows and columns of a grid, the years of a range.
 */

#include <cstdint>

namespace norvane::tools {

/**
 * The number of values from `first` to `last` by `step`, both ends
 * included.  A last value within 1e-9 steps of `last` counts as reaching
 * it, so that 0 to 1 by 0.1 has 11 values whatever the rounding of 0.1.
 *
 * @param[in] first, last finite, last >= first.
 * @param[in] step finite, > 0, with (last - first) / step a count that fits.
 * @return the count, >= 1.
 */
std::uint64_t StepCount(double first, double last, double step);

/**
 * The i-th value from `first`: first + i x step, computed afresh for each
 * i so that errors do not add up, and exactly `last` at the last one.
 *
 * @param[in] first, last, step as for StepCount.
 * @param[in] i 0 to StepCount - 1.
 * @return the value, in the unit of `first`.
 */
double StepValue(double first, double last, double step, std::uint64_t i);

}  // namespace norvane::tools
