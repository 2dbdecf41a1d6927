#pragma once
/**
 * \file GdiPageCheck.hpp
 * \brief Checks a page the module painted through real GDI against what the
 *   page's geometry says must be there: the two needles along their lines
 *   and text in the title line and every row band.
 */

#include <string>
#include <vector>

#include "sim/GdiPage.hpp"
#include "sim/StandInHost.hpp"

namespace norvane::sim {

/// The headings the needles show, radians, both in [0, 2 pi].
struct NeedleHeadings {
  double trueHeading;      ///< white needle
  double magneticHeading;  ///< red needle
};

/**
 * The headings a compass page shows for a vessel: its true heading brought
 * into one turn, and that minus the field model's declination at the
 * vessel's position for the decimal year 2006.0, brought into one turn.
 *
 * @param[in] vessel the vessel as the host reports it.
 */
NeedleHeadings ExpectedHeadings(const VesselState& vessel);

/// Smallest page width and height, pixels, whose needles and text are checked.
constexpr int kMinCheckedWidth = 50;
constexpr int kMinCheckedHeight = 156;  // a row pitch of 6 pixels

/**
 * Checks a painted page.
 *
 * Along each needle, between a quarter of its length and its end, sampled
 * pixels must have the needle's colour (white for true north, red for
 * magnetic north) within one pixel, except where the red needle, drawn
 * last, covers the white one or the sample lies off the page; the point
 * mirrored across the vertical through the origin must not, unless it lies
 * on a needle itself.  The title line and each of the twelve row bands (row
 * k from trunc(height / 26 * k), one pitch high) must contain pixels of the
 * text colour.  Needles are checked on pages at least kMinCheckedWidth
 * wide, text on pages at least kMinCheckedHeight high: on smaller ones
 * needles and glyphs are too small to tell apart.
 *
 * @param[in] page the painted page.
 * @param[in] headings what the needles show.
 * @return one message per failed check; empty when the page passes.
 */
std::vector<std::string> CheckGdiPage(const GdiPage& page,
                                      const NeedleHeadings& headings);

}  // namespace norvane::sim
