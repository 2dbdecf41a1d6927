#pragma once
/**
 * \file ScreenLines.hpp
 * \brief Contour lines in the image: projected, cut to the map, thinned
 *   where they crowd, and gapped for their labels.
 */

#include <functional>
#include <string>
#include <vector>

#include "tools/chart/Contours.hpp"
#include "tools/chart/Projection.hpp"

namespace norvane::chart {

/// One piece of a contour line in the image.
struct ScreenLine {
  double value;  ///< the level
  bool major;    ///< drawn heavier, and labelled first
  std::vector<Pixel> points;
};

/**
 * Cuts a line of points to a band of latitudes, adding the points where it
 * leaves and enters the band.
 *
 * @param[in] points consecutive points of a line, longitudes continuous.
 * @param[in] south, north the band, degrees.
 * @return the pieces inside the band.
 */
std::vector<std::vector<GeoPoint>> ClipToLatitudes(
    const std::vector<GeoPoint>& points, double south, double north);

/**
 * Projects contour lines into the image: cut at 180° on cylindrical maps,
 * cut to the map's latitudes on every map.
 *
 * @param[in] lines the contour lines.
 * @param[in] projection the map.
 * @param[in] majorEvery a level is major when it is a multiple of this.
 * @return the pieces, in the order of the lines.
 */
std::vector<ScreenLine> ProjectLines(const std::vector<ContourLine>& lines,
                                     const Projection& projection,
                                     double majorEvery);

/**
 * Marks the segments of lines that pass too close to a line of another
 * level to be told apart: where lines bunch up, as near a magnetic pole,
 * only the major ones are drawn, and where even those bunch, as where D's
 * lines run into a pole, only some of them.  The zero line is always drawn.
 *
 * @param[in] lines lines in the image.
 * @param[in] minorSpacing pixels: a minor line's segment closer than this
 *   to any line of another level is hidden.
 * @param[in] majorSpacing pixels: a major line's segment closer than this
 *   to a major line of another level is hidden.
 * @return for each line, whether each of its segments (point k to k + 1)
 *   is hidden.
 */
std::vector<std::vector<bool>> CrowdedSegments(
    const std::vector<ScreenLine>& lines, double minorSpacing,
    double majorSpacing);

/// A contour label, centred on its line.
struct Label {
  std::size_t line;  ///< index of the line it names
  Pixel centre;
  double angle;   ///< radians, clockwise from the x axis, within ±pi/2
  double width;   ///< pixels
  double height;  ///< pixels
  std::string text;
  double from, to;  ///< the gap in the line, arc length in pixels
};

/// The size of a label's text, pixels.
struct TextSize {
  double width;
  double height;
};

/**
 * Places labels along the lines, major lines first: every `spacing` pixels
 * of line where the line runs nearly straight for the label's length, no
 * other line or label comes within the label's box, and the box lies
 * inside the map.
 *
 * @param[in] lines lines in the image.
 * @param[in] hidden segments not drawn, from CrowdedSegments.
 * @param[in] texts the label of each line.
 * @param[in] sizes the size of each text.
 * @param[in] inside whether a pixel lies on the map.
 * @param[in] spacing pixels of line between labels.
 * @return the labels.
 */
std::vector<Label> PlaceLabels(const std::vector<ScreenLine>& lines,
                               const std::vector<std::vector<bool>>& hidden,
                               const std::vector<std::string>& texts,
                               const std::vector<TextSize>& sizes,
                               const std::function<bool(Pixel)>& inside,
                               double spacing);

}  // namespace norvane::chart
