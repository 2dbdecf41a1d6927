#pragma once
/**
 * \file NumberParser.hpp
 * \brief Reads the numbers both tools take as text: finite decimals, and
 *   years written as decimals or as dates.
 */

#include <string_view>

namespace norvane::tools {

/**
 * Parses one finite number that makes up a whole token.
 *
 * @param[in] token the characters of the number, nothing else.
 * @param[out] value the number; written only on success.
 * @return nullptr on success, else why the token is not a finite number:
 *   "is not a number", "is out of range" or "is not finite".
 */
const char* ParseFiniteNumber(std::string_view token, double& value);

/**
 * Parses a decimal year or a date.
 *
 * @param[in] token the year, nothing else: a plain number, `yyyy-mm-dd` or
 *   `yyyy-mm`.
 * @param[out] year decimal year; written only on success.
 * @return nullptr on success, else a reason as for ParseFiniteNumber, or
 *   "is not a number or a date", or "is not a valid date".
 */
const char* ParseYear(std::string_view token, double& year);

}  // namespace norvane::tools
