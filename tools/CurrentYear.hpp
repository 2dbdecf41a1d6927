#pragma once
/**
 * \file CurrentYear.hpp
 * \brief Today as a decimal year.
 */

namespace norvane::tools {

/**
 * The current time, UTC, as a decimal year: the year plus the seconds since
 * its start over the seconds in that year.
 *
 * @return e.g. 2026.5 about the 2nd of July 2026; NaN if the system clock
 *   cannot be read.
 */
double CurrentYear();

}  // namespace norvane::tools
