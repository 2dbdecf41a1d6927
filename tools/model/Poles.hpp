#pragma once
/**
 * \file Poles.hpp
 * \brief The magnetic poles of a model: the dip poles, where the field is
 *   vertical, and the geomagnetic poles of its centred dipole.
 */

#include <optional>

#include "tools/model/LoadedModel.hpp"

namespace norvane {

/// A point on the Earth, geodetic, degrees.
struct PolePosition {
  double latitude;   ///< geodetic latitude, degrees, -90 to 90
  double longitude;  ///< degrees east, -180 to 180
};

/// The centred dipole's poles and strength.
struct GeomagneticPoles {
  PolePosition north;  ///< where the dipole's axis leaves the north
  PolePosition south;  ///< the antipode of `north`
  double moment;       ///< the dipole moment, A m^2
};

/**
 * The centred dipole of the degree-1 coefficients: its axis points along
 * -(g11, h11, g10) in Earth-fixed x, y, z, so the north pole lies at
 * colatitude acos(-g10 / B0) and longitude atan2(-h11, -g11), with
 * B0 = sqrt(g10^2 + g11^2 + h11^2); its moment is 4 pi re^3 B0 / mu0.
 * Latitudes are geocentric: the dipole knows no ellipsoid.
 *
 * @param[in] terms the coefficients, not all 0, nT.
 * @return the poles and the moment, with re = 6371.2 km and
 *   mu0 = 4 pi 1e-7 H/m.
 */
GeomagneticPoles CentredDipolePoles(const DipoleTerms& terms);

/// Which dip pole: where the field points straight down, or up.
enum class DipPole { kNorth, kSouth };

/**
 * Finds a dip pole, a point where the horizontal intensity H is 0, by
 * Newton's method on H's north and east components in a frame that is
 * smooth across the geographic poles, halving any step that does not
 * weaken H.  It starts from the points of a 5-degree grid where the
 * inclination is locally steepest, down for the north pole and up for the
 * south, the steepest first, and tries up to eight of them.
 *
 * @param[in] model the model.
 * @param[in] which the pole.
 * @param[in] altitude height above the WGS-84 ellipsoid, km.
 * @param[in] year decimal year.
 * @return the pole, its last step under 1e-9 degrees, or nothing if the
 *   search did not converge to a point where the field points the right
 *   way.
 */
std::optional<PolePosition> FindDipPole(const LoadedModel& model, DipPole which,
                                        double altitude, double year);

/**
 * Finds a dip pole as FindDipPole does, from a given start.
 *
 * @param[in] model, which, altitude, year as for FindDipPole.
 * @param[in] start where the search starts; any point.
 * @return as for FindDipPole.
 */
std::optional<PolePosition> FindDipPoleFrom(const LoadedModel& model,
                                            DipPole which, double altitude,
                                            double year, PolePosition start);

}  // namespace norvane
