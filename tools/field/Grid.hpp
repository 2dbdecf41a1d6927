#pragma once
/**
 * \file Grid.hpp
 * \brief A grid of latitudes and longitudes, both ends inclusive, and grid
 *   variation, the polar navigator's declination.
 */

#include <cstdint>
#include <string>

namespace norvane::tools {

/// The points LAT0, LAT0 + DLAT, ... LAT1 times LON0, LON0 + DLON, ... LON1.
struct PointGrid {
  double lat0;  ///< first latitude, degrees, -90..90
  double lat1;  ///< last latitude, degrees, lat0..90
  double dlat;  ///< latitude step, degrees, > 0
  double lon0;  ///< first longitude, degrees
  double lon1;  ///< last longitude, degrees, >= lon0
  double dlon;  ///< longitude step, degrees, > 0
};

/// Most points one grid may have.
constexpr std::uint64_t kMaxGridPoints = std::uint64_t{1} << 32;

/**
 * How many points of a grid to give one thread at a time: whole rows, so
 * that each circle of latitude is set up once, of at least a few hundred
 * points, unless one row is longer than a piece's results should be, about
 * a few hundred kilobytes of text.
 *
 * @param[in] columns points in a row, at least 1.
 * @return points to a piece, row-major, at least 1.
 */
std::uint64_t GridPieceSize(std::uint64_t columns);

/**
 * Checks a grid.
 *
 * @param[in] grid the grid; any values.
 * @return an empty string for a grid to evaluate, else why not: a step
 *   that is not positive, a latitude outside [-90, 90], a last value below
 *   the first, a value that is not finite, or more than kMaxGridPoints.
 */
std::string CheckGrid(const PointGrid& grid);

/**
 * Grid variation: the angle from grid north, parallel to the Greenwich
 * meridian in a polar stereographic grid, to magnetic north.
 *
 * @param[in] declination degrees, positive east.
 * @param[in] latitude geodetic latitude, degrees.
 * @param[in] longitude degrees, east positive.
 * @return D - longitude at latitudes of 55 degrees north and more, D +
 *   longitude at 55 degrees south and more, normalised to [-180, 180]
 *   degrees; NaN elsewhere, where no grid is defined.
 */
double GridVariation(double declination, double latitude, double longitude);

}  // namespace norvane::tools
