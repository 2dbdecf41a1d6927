#pragma once
/**
 * \file PageLayout.hpp
 * \brief Where the compass page puts its rows and its needles on the MFD
 *   surface.
 *
 * Coordinates are pixels, x to the right and y down from the surface's
 * top-left corner.  Positions are computed in double and truncated towards
 * zero into pixels.  The title above the rows is placed by the host.
 */

#include <math.h>

namespace norvane::page {

/// Rows of text below the title.
constexpr int kRows = 12;

/// Left edge of every row, pixels.
constexpr int kTextX = 5;

/// The row pitch is the surface's height divided by this.
constexpr double kRowsPerPage = 26.0;

/// Length of a needle, as a fraction of the surface's width.
constexpr double kNeedleLength = 0.4;

/// A position on the page before truncation into pixels.
struct PagePoint {
  double x;  ///< pixels to the right of the left edge
  double y;  ///< pixels below the top edge
};

/**
 * @param[in] height height of the surface, pixels.
 * @return the distance between two rows, pixels, not truncated.
 */
constexpr double RowPitch(double height) { return height / kRowsPerPage; }

/**
 * The top of one row: the pitch times the row's number, then truncated, so
 * rows do not drift as a truncated pitch would make them.
 *
 * @param[in] height height of the surface, pixels, at most 2^31 - 1 in
 *   magnitude.
 * @param[in] row 1 for the first row below the title, to kRows.
 * @return pixels below the top edge.
 */
constexpr int RowTop(double height, int row) {
  return static_cast<int>(RowPitch(height) * row);
}

/**
 * Where both needles start: half a width right of the left edge and half a
 * width below the top edge, whatever the height.
 *
 * @param[in] width width of the surface, pixels.
 * @return the origin, not truncated.
 */
constexpr PagePoint NeedleOrigin(double width) {
  return {width * 0.5, width * 0.5};
}

/**
 * Where a needle ends, kNeedleLength widths from the origin.  Heading 0
 * points up, and a growing heading turns the needle anticlockwise: a needle
 * towards north shows where north lies relative to the vessel's nose.
 *
 * @param[in] width width of the surface, pixels.
 * @param[in] heading the needle's heading, radians.
 * @return the end, not truncated; not finite for a non-finite heading.
 */
inline PagePoint NeedleEnd(double width, double heading) {
  return {width * (0.5 + kNeedleLength * sin(-heading)),
          width * (0.5 - kNeedleLength * cos(-heading))};
}

}  // namespace norvane::page
