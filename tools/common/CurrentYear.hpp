#pragma once
/**
 * \file CurrentYear.hpp
 * \brief Today as a decimal year, and years that may be "now".
 */

#include <string_view>

namespace norvane::tools {

/**
 * The current time, UTC, as a decimal year: the year plus the seconds since
 * its start over the seconds in that year.
 *
 * @return e.g. 2026.5 about the 2nd of July 2026; NaN if the system clock
 *   cannot be read.
 */
double CurrentYear();

/**
 * Reads a year as ParseYear does, or "now" for the current date.
 *
 * @param[in] text a decimal year, a date yyyy-mm-dd or yyyy-mm, or "now".
 * @param[out] year the decimal year.
 * @return nullptr, or why the text is not a year.
 */
const char* ParseYearOrNow(std::string_view text, double& year);

}  // namespace norvane::tools
