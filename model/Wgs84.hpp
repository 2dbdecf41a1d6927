#pragma once
/**
 * \file Wgs84.hpp
 * \brief Ellipsoid and reference constants of the field model, in km.
 */

namespace norvane::wgs84 {

constexpr double a = 6378.137;      ///< semi-major axis, km
constexpr double b = 6356.7523142;  ///< semi-minor axis, km, to 0.1 mm
/// 1/f, WGS-84's defining inverse flattening; b is a (1 - f), rounded.
constexpr double inverseFlattening = 298.257223563;
constexpr double re = 6371.2;   ///< reference radius of the expansion, km
constexpr double a2 = a * a;    ///< km^2
constexpr double b2 = b * b;    ///< km^2
constexpr double a4 = a2 * a2;  ///< km^4
constexpr double b4 = b2 * b2;  ///< km^4

/**
 * a^2 - b^2, the square of the linear eccentricity (the distance from the
 * centre of a meridian ellipse to a focus), km^2.  It serves the conversion
 * from geodetic to geocentric coordinates at geodetic latitude phi and
 * height h: d = sqrt(a^2 - c2 sin^2(phi)) = sqrt(a^2 cos^2(phi) +
 * b^2 sin^2(phi)), the geocentric distance r follows from
 * r^2 = h^2 + 2 h d + (a^4 - c4 sin^2(phi)) / d^2, and
 * c2 cos(phi) sin(phi) / (r d) is the sine of the angle between the
 * vertical and the radius, which turns the field from geocentric into
 * geodetic components.
 */
constexpr double c2 = a2 - b2;

/**
 * a^4 - b^4, km^4: (a^4 - c4 sin^2(phi)) / d^2, with d as for c2, is the
 * square of the distance from the centre to the ellipsoid's surface at
 * geodetic latitude phi.
 */
constexpr double c4 = a4 - b4;

}  // namespace norvane::wgs84
