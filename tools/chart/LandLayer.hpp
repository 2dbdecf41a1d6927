#pragma once
/**
 * \file LandLayer.hpp
 * \brief The chart's ground: land, its coast, and the zones where the
 *   horizontal field is too weak for a compass.
 */

#include <cairo.h>

#include "tools/chart/ChartFrame.hpp"

namespace norvane::chart {

/**
 * Fills the land, if the chart has coastlines, below everything else.
 *
 * @param[in] cr the context drawn on, clipped to the map.
 * @param[in] frame the chart's layout and content.
 */
void DrawLand(cairo_t* cr, const ChartFrame& frame);

/**
 * Strokes the coast: the land's edges that are shore, not the cuts where
 * the land polygons were split.
 *
 * @param[in] cr the context drawn on, clipped to the map.
 * @param[in] frame the chart's layout and content.
 */
void DrawCoast(cairo_t* cr, const ChartFrame& frame);

/**
 * Shades where a compass should be used with caution and where it is
 * unreliable, in two greys half seen through, on charts that show them
 * (ChartFrame::ShowsWeakZones).
 *
 * @param[in] cr the context drawn on, clipped to the map.
 * @param[in] frame the chart's layout and content.
 */
void DrawWeakZones(cairo_t* cr, const ChartFrame& frame);

}  // namespace norvane::chart
