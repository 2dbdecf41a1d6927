#pragma once
/**
 * \file PageListing.hpp
 * \brief A recorded page as lines of text.
 */

#include <iosfwd>
#include <string>

#include "platform/StandInGdi.hpp"

namespace norvane::sim {

/**
 * A GDI colour as HTML writes it.
 *
 * @param[in] colour 0x00BBGGRR.
 * @return "#RRGGBB", upper-case hexadecimal.
 */
std::string HexColour(COLORREF colour);

/**
 * Writes the text of every text call, in order, one line each, in UTF-8.
 *
 * @param[in] dc the recorded page.
 * @param[out] out where the lines go.
 */
void WriteText(const StandInDC& dc, std::ostream& out);

/**
 * Writes every drawing call, in order, one line each: "text X Y TEXT" (TEXT
 * in UTF-8, to the end of the line) and "line X0 Y0 X1 Y1 #RRGGBB" (pixels,
 * the pen's colour).  Pen selections and moves draw nothing and are left out.
 *
 * @param[in] dc the recorded page.
 * @param[out] out where the lines go.
 */
void WriteDump(const StandInDC& dc, std::ostream& out);

}  // namespace norvane::sim
