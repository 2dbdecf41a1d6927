#pragma once
/**
 * \file Contours.hpp
 * \brief Contour lines of a quantity over the globe.
 */

#include <vector>

#include "tools/chart/FieldGrid.hpp"

namespace norvane::chart {

/// A point on the globe, degrees; longitude in [-180, 180).
struct GeoPoint {
  double lon;
  double lat;
};

/// One connected line of a contour level.
struct ContourLine {
  double value;  ///< the level, in the quantity's unit
  bool closed;   ///< the last point joins the first
  std::vector<GeoPoint> points;
};

/**
 * \brief Traces the contour lines of the grid's quantity at every multiple
 *   of an interval.
 *
 * The grid's nodes only tell which edges of the grid a level crosses.
 * Every vertex is then found on its edge by evaluating the source along
 * that edge until it gives the level to within 1e-6 of the interval, so a
 * vertex lies on its contour as closely as the model can say.  Where the
 * model's points are dear (FieldSource::CirclesPay), a row's edges are
 * evaluated along the row's circle of latitude, and a column's are
 * interpolated from circles across its band of latitude; an interpolated
 * vertex is kept only where a coarser interpolation agrees with it to half
 * the tolerance, else the model's points decide it.  An edge
 * over which D turns by more than 45° is sampled at shorter steps first, so
 * that every crossing of each level is found.  A cell crossed by a level
 * four or more times is resolved by the source's value at the cell's centre.
 *
 * D is cyclic: its levels are taken modulo 360°, so a line runs on across
 * the ±180° jump.  Near a magnetic pole D takes every value; a level that
 * crosses the border of a cell an odd number of times meets the pole in
 * that cell, and its lines end on that cell's border, within one grid step
 * of the pole.
 *
 * @param[in] source the quantity, evaluated along edges.
 * @param[in] grid the quantity on a grid, from EvaluateGrid(source).
 * @param[in] interval contour interval, > 0, in the quantity's unit.
 * @param[in] lowest, highest only levels between these are traced (D's
 *   levels are all traced, from -180 exclusive to 180 inclusive).
 * @param[in] threads the bands of the grid are shared out among at most
 *   this many threads; the lines are the same for any number.
 * @return the lines, ordered by level.
 */
std::vector<ContourLine> TraceContours(const FieldSource& source,
                                       const ValueGrid& grid, double interval,
                                       double lowest, double highest,
                                       unsigned threads);

/**
 * The range of values that covers all but a small share of the globe's
 * area at each end, 0.1 %, or, when `all`, every value.  The annual change
 * of D grows without bound towards the magnetic poles, where its contours
 * would crowd without end; other quantities are bounded.
 *
 * @param[in] grid the quantity on a grid.
 * @param[in] all whether to take every finite value.
 * @param[out] lowest, highest the range, in the quantity's unit.
 */
void ValueRange(const ValueGrid& grid, bool all, double& lowest,
                double& highest);

/**
 * Cuts a line where it crosses the 180° meridian, so that no part jumps
 * across the map: a vertex on the meridian ends one part at +-180 and
 * starts the next at -+180.
 *
 * @param[in] line any contour line.
 * @return its parts, in order; longitudes in [-180, 180].
 */
std::vector<std::vector<GeoPoint>> SplitAtAntimeridian(const ContourLine& line);

}  // namespace norvane::chart
