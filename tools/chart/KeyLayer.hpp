#pragma once
/**
 * \file KeyLayer.hpp
 * \brief What a chart says about itself: its titles above the map and its
 *   key below.
 */

#include <cairo.h>

#include "tools/chart/ChartFrame.hpp"

namespace norvane::chart {

/**
 * Writes the title (ChartTitle) and below it a line with the contour
 * interval, which lines are heavier, the altitude and the projection.
 *
 * @param[in] cr the context drawn on, unclipped.
 * @param[in] frame the chart's layout and content.
 */
void DrawTitles(cairo_t* cr, const ChartFrame& frame);

/**
 * Draws the key below the map: a sample and a name for each kind of contour
 * the chart has (positive, negative, zero), and on charts that shade them
 * a swatch and the threshold for each weak-field zone.
 *
 * @param[in] cr the context drawn on, unclipped.
 * @param[in] frame the chart's layout and content.
 */
void DrawKey(cairo_t* cr, const ChartFrame& frame);

}  // namespace norvane::chart
