#pragma once
/**
 * \file LineLayer.hpp
 * \brief The chart's lines and marks over the ground: the contours with
 *   their values, a dip pole's path and the date's dip poles.
 */

#include <cairo.h>

#include "tools/chart/ChartFrame.hpp"

namespace norvane::chart {

/**
 * Strokes the contours and writes their values along them.  Positive
 * levels are red, negative ones blue, and zero green and heavier; every
 * kMajorEvery-th level (on uncertainty charts the levels 1°, 2° and 5°) is
 * heavier and labelled first.  Lines that crowd another are left out where
 * they crowd, and each label breaks its line.
 *
 * @param[in] cr the context drawn on, clipped to the map.
 * @param[in] frame the chart's layout and content.
 */
void DrawContours(cairo_t* cr, const ChartFrame& frame);

/**
 * Draws a dip pole's path: a line through its yearly places on the map, a
 * dot on each, and the years where they do not crowd.
 *
 * @param[in] cr the context drawn on, clipped to the map.
 * @param[in] frame the chart's layout and content.
 */
void DrawPolePath(cairo_t* cr, const ChartFrame& frame);

/**
 * Marks each of the date's dip poles on the map with a ringed cross, named
 * beside it on white.
 *
 * @param[in] cr the context drawn on, clipped to the map.
 * @param[in] frame the chart's layout and content.
 */
void DrawDipPoles(cairo_t* cr, const ChartFrame& frame);

}  // namespace norvane::chart
