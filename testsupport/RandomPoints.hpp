#pragma once
/**
 * \file RandomPoints.hpp
 * \brief Reproducible evaluation points spread over the whole model space.
 */

#include <cstdint>
#include <vector>

namespace norvane {

/// One point at which to evaluate the field.
struct FieldPoint {
  double altitude;   ///< height above the ellipsoid, km
  double latitude;   ///< geodetic latitude, radians
  double longitude;  ///< longitude, radians
  double year;       ///< decimal year
};

/**
 * Draws points from a fixed-seed generator.
 *
 * Altitudes run from -10 to 40,000 km, weighted towards the surface where
 * the high degrees matter most; longitudes from -2 pi to 2 pi; years from
 * 2000 to 2012.  Every tenth point lies exactly on a pole, every tenth
 * within 1e-8 rad of one, every tenth 1e-8 to 1e-4 rad from one
 * (log-uniform), and the rest have uniform latitudes.
 *
 * @param[in] count number of points.
 * @param[in] seed seed of the generator; one seed always gives the same
 *   points.
 * @return the points.
 */
std::vector<FieldPoint> RandomPoints(int count, std::uint64_t seed);

}  // namespace norvane
