#pragma once
/**
 * \file WeakField.hpp
 * \brief Where the horizontal field is too weak for a compass.
 */

#include <vector>

#include "tools/chart/Contours.hpp"
#include "tools/chart/FieldGrid.hpp"

namespace norvane::chart {

/// Below this H a compass is unreliable, nT.
constexpr double kUnreliableHorizontal = 2000.0;
/// Below this H a compass is to be used with caution, nT.
constexpr double kCautionHorizontal = 6000.0;

/**
 * The region where H is below a threshold, as one polygon per grid cell
 * (the part of the cell below it, H taken as linear along the cell's
 * edges; a run of whole cells along a row is one polygon).  Every polygon runs
 * the same way round, so that filled together, with the non-zero rule, they
 * cover the region without seams.
 *
 * @param[in] grid H at the nodes.
 * @param[in] threshold nT.
 * @return the polygons; a cell's longitudes run on past 180 rather than
 *   jump back, so a polygon never spans the map.
 */
std::vector<std::vector<GeoPoint>> WeakFieldCells(const ValueGrid& grid,
                                                  double threshold);

}  // namespace norvane::chart
