#pragma once
/**
 * \file YearRange.hpp
 * \brief Years from one to another by a step, as `--year FROM:TO:STEP`
 *   gives them.
 */

#include <cstdint>
#include <string_view>

namespace norvane::tools {

/// The years FIRST, FIRST + STEP, ... up to LAST, both ends included.
struct YearRange {
  double first;  ///< decimal year
  double last;   ///< decimal year, >= first
  double step;   ///< years, > 0
};

/// Most years one range may have.
constexpr std::uint64_t kMaxRangeYears = 100000;

/**
 * Parses a range of years.
 *
 * @param[in] text `FROM:TO:STEP`: FROM and TO as ParseYear reads them
 *   (decimal years or dates), STEP a number of years.
 * @param[out] range the range; written only on success.
 * @return nullptr on success, else why not: "is not FROM:TO:STEP", a reason
 *   of ParseYear or ParseFiniteNumber, "has a step that is not positive",
 *   "ends before it starts" or "has more than 100000 years".
 */
const char* ParseYearRange(std::string_view text, YearRange& range);

/**
 * @param[in] range a range ParseYearRange gave.
 * @return how many years it has; a last year within 1e-9 steps of `last`
 *   counts as reaching it.
 */
std::uint64_t YearCount(const YearRange& range);

/**
 * @param[in] range a range ParseYearRange gave.
 * @param[in] i 0 to YearCount - 1.
 * @return first + i step, and exactly `last` where the range reaches it.
 */
double YearAt(const YearRange& range, std::uint64_t i);

}  // namespace norvane::tools
