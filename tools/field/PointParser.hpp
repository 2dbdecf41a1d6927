#pragma once
/**
 * \file PointParser.hpp
 * \brief Parses one line of point input: LAT LON ALT [YEAR], or LON alone
 *   along a circle of latitude.
 *
 * Fields are separated by spaces or tabs (a trailing carriage return is
 * whitespace too, so CRLF files read fine).  A `#` starts a comment that
 * runs to the end of the line, the point's label; a line that is empty
 * after removing the comment is a blank line.
 *
 * Plain numbers are decimal floating-point as read by std::from_chars in
 * general format, optionally with a leading `+`: "40", "-105.5", "1e3",
 * ".5".  Hexadecimal, "nan", "inf", values that overflow or underflow a
 * double and anything with trailing characters are rejected.  LAT and LON
 * may also be written in any form GeographicLib's DMS class reads, such as
 * `40d26'46"N`, `40:26:46N` or `79.98W`; a hemisphere letter may put LON
 * first.  YEAR may also be a date, `yyyy-mm-dd` or `yyyy-mm` (the 1st of
 * the month), at 00:00: the year plus (day of year - 1) / (days in that
 * year).
 *
 * The parser is total: it accepts any bytes (NUL, invalid UTF-8, lines of
 * any length) and returns either a point, a blank line or an error message.
 */

#include <cstddef>
#include <string>
#include <string_view>

#include "tools/common/NumberParser.hpp"

namespace norvane::tools {

/// A point to evaluate the field at, as typed by the user.
struct GeodeticPoint {
  double latitude;   ///< geodetic latitude, degrees, north positive, -90..90
  double longitude;  ///< longitude, degrees, east positive; any finite value
  double altitude;   ///< height above the WGS-84 ellipsoid, km; any finite
  double year;       ///< decimal year; any finite value
};

/// What one input line holds.
enum class LineKind {
  kPoint,  ///< a valid point
  kBlank,  ///< only whitespace and perhaps a comment
  kError,  ///< anything else; see ParsedLine::error
};

/// The result of parsing one line.
struct ParsedLine {
  LineKind kind;           ///< what the line holds
  GeodeticPoint point;     ///< the point; meaningful for LineKind::kPoint only
  std::string error;       ///< one-line, printable message for LineKind::kError
  bool labelled = false;   ///< whether the line has a `#`
  std::string_view label;  ///< the text after the `#`, less trailing
                           ///< whitespace; points into the parsed line
};

/**
 * Parses a point given as separate fields, e.g. command-line words.
 *
 * @param[in] fields LAT LON ALT [YEAR], each a whole field with no spaces;
 *   only the first min(count, 4) are read.
 * @param[in] count how many fields there are; 3 or 4 make a point.
 * @param[in] defaultYear decimal year when there are three fields.
 * @return the point or an error as for ParsePointLine; never kBlank.
 */
ParsedLine ParsePointFields(const std::string_view* fields, std::size_t count,
                            double defaultYear);

/**
 * Parses one input line of points.
 *
 * @param[in] line the line without its newline; any bytes.
 * @param[in] defaultYear decimal year for a line with three fields.
 * @return the point, a blank line, or an error naming the problem (the
 *   wrong count of fields, the column and the offending text, or a
 *   latitude outside [-90, 90]).  Offending text is quoted with bytes
 *   outside printable ASCII escaped as \\xHH and cut after 32 bytes.
 */
ParsedLine ParsePointLine(std::string_view line, double defaultYear);

/**
 * Parses the circle of a circle-of-latitude run.
 *
 * @param[in] fields LAT ALT YEAR, each a whole field.
 * @return a point with latitude, altitude and year set (longitude 0), or
 *   an error as for ParsePointLine; never kBlank.
 */
ParsedLine ParseCircleFields(const std::string_view (&fields)[3]);

/**
 * Parses one input line of a circle-of-latitude run: LON alone.
 *
 * @param[in] line the line without its newline; any bytes.
 * @return a point with only its longitude set, a blank line or an error,
 *   as for ParsePointLine.
 */
ParsedLine ParseLongitudeLine(std::string_view line);

}  // namespace norvane::tools
