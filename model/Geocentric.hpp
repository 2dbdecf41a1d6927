#pragma once
/**
 * \file Geocentric.hpp
 * \brief From a geodetic point to the expansion's spherical terms, and from
 *   the expansion's spherical field back to the geodetic elements.
 */

#include <math.h>

#include "model/SphericalField.hpp"
#include "model/Wgs84.hpp"

namespace norvane {

/// A geodetic point in the terms the expansion and the rotation back need.
struct GeocentricPoint {
  double ct;   ///< cosine of the geocentric colatitude
  double st;   ///< sine of the geocentric colatitude, >= 0
  double aor;  ///< reference radius over geocentric distance
  double ca;   ///< cosine of geodetic minus geocentric latitude
  double sa;   ///< sine of geodetic minus geocentric latitude
};

/// The ellipsoid's terms that the conversion takes, km^2 and km^4.
struct Ellipsoid {
  double a2, b2, c2, a4, c4;
};

/// @return the terms of the ellipsoid with semi-axes a and b, km.
constexpr Ellipsoid EllipsoidOf(double a, double b) {
  return {a * a, b * b, a * a - b * b, (a * a) * (a * a),
          (a * a) * (a * a) - (b * b) * (b * b)};
}

/// The module's WGS-84, with b as wgs84::b gives it, to 0.1 mm.
constexpr Ellipsoid kModuleWgs84 = EllipsoidOf(wgs84::a, wgs84::b);

/// WGS-84 with b from its defining flattening, as the World Magnetic Models
/// in coefficient files define their geodetic coordinates: their 6-decimal
/// test values tell the two apart.
constexpr Ellipsoid kWgs84 =
    EllipsoidOf(wgs84::a, wgs84::a*(1.0 - 1.0 / wgs84::inverseFlattening));

/**
 * Converts geodetic coordinates to geocentric spherical ones.
 *
 * @param[in] altitude height above the ellipsoid, km.
 * @param[in] latitude geodetic latitude, radians, -pi/2 to pi/2.
 * @param[in] e the ellipsoid.
 * @return the point's geocentric terms.
 */
inline GeocentricPoint ToGeocentric(double altitude, double latitude,
                                    const Ellipsoid& e = kModuleWgs84) {
  const double a2 = e.a2, b2 = e.b2, c2 = e.c2, a4 = e.a4, c4 = e.c4;
  using wgs84::re;
  const double srlat = sin(latitude);
  const double crlat = cos(latitude);
  const double srlat2 = srlat * srlat;
  const double crlat2 = crlat * crlat;
  const double q = sqrt(a2 - c2 * srlat2);
  const double q1 = altitude * q;
  const double q2 = ((a2 + q1) / (b2 + q1)) * ((a2 + q1) / (b2 + q1));
  GeocentricPoint g;
  g.ct = srlat / sqrt(q2 * crlat2 + srlat2);
  g.st = sqrt(1.0 - g.ct * g.ct);
  const double r =
      sqrt(altitude * altitude + 2.0 * q1 + (a4 - c4 * srlat2) / (q * q));
  const double d = sqrt(a2 * crlat2 + b2 * srlat2);
  g.ca = (altitude + d) / r;
  g.sa = c2 * crlat * srlat / (r * d);
  g.aor = re / r;
  return g;
}

/**
 * Rotates a field from geocentric spherical to geodetic components.
 *
 * @param[in] b the field, its east component no longer times st, nT (or
 *   nT/year for a rate of change).
 * @param[in] point the point's geocentric terms.
 * @param[out] X north component, nT.
 * @param[out] Y east component, nT.
 * @param[out] Z vertical component, nT, positive downward.
 */
inline void ToGeodetic(const SphericalField& b, const GeocentricPoint& point,
                       double& X, double& Y, double& Z) {
  X = -b.bt * point.ca - b.br * point.sa;
  Y = b.bp;
  Z = b.bt * point.sa - b.br * point.ca;
}

/**
 * The derived elements of a field.
 *
 * @param[in] X north component, nT.
 * @param[in] Y east component, nT.
 * @param[in] Z vertical component, nT, positive downward.
 * @param[out] F total intensity, nT.
 * @param[out] H horizontal intensity, nT.
 * @param[out] D declination, radians, -pi to pi, positive east.
 * @param[out] I inclination, radians, -pi/2 to pi/2, positive downward.
 */
inline void DerivedElements(double X, double Y, double Z, double& F, double& H,
                            double& D, double& I) {
  H = sqrt(X * X + Y * Y);
  F = sqrt(H * H + Z * Z);
  D = atan2(Y, X);
  I = atan2(Z, H);
}

}  // namespace norvane
