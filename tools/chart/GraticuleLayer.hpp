#pragma once
/**
 * \file GraticuleLayer.hpp
 * \brief The chart's meridians every 30° and its parallels, and their
 *   labels.
 */

#include <cairo.h>

#include "tools/chart/ChartFrame.hpp"

namespace norvane::chart {

/**
 * Strokes the meridians every 30° and the parallels of
 * ChartFrame::Parallels, thin and grey.
 *
 * @param[in] cr the context drawn on, clipped to the map.
 * @param[in] frame the chart's layout and content.
 */
void DrawGraticule(cairo_t* cr, const ChartFrame& frame);

/**
 * Labels the graticule, e.g. "30°E", "60°S": on a rectangular map the
 * meridians below it and the parallels and the map's edges to its left; on
 * a polar map the meridians around the circle and the parallels on the
 * map, on white.
 *
 * @param[in] cr the context drawn on, unclipped.
 * @param[in] frame the chart's layout and content.
 */
void DrawGraticuleLabels(cairo_t* cr, const ChartFrame& frame);

}  // namespace norvane::chart
