#pragma once
/**
 * \file SphericalField.hpp
 * \brief The field in the geocentric spherical frame, as the expansion's
 *   order sums deliver it.
 */

namespace norvane {

/// Field components in the geocentric spherical frame, nT.
struct SphericalField {
  double br = 0.0;  ///< radial, outward
  double bt = 0.0;  ///< along increasing colatitude (south)
  double bp = 0.0;  ///< east, times the sine of the colatitude
};

}  // namespace norvane
