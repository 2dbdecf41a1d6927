#pragma once
/**
 * \file Wgs84.hpp
 * \brief Ellipsoid and reference constants of the field model, in km.
 */

namespace norvane::wgs84 {

constexpr double a = 6378.137;       ///< semi-major axis, km
constexpr double b = 6356.7523142;   ///< semi-minor axis, km
constexpr double re = 6371.2;        ///< reference radius of the expansion, km
constexpr double a2 = a * a;         ///< km^2
constexpr double b2 = b * b;         ///< km^2
constexpr double c2 = a2 - b2;       ///< km^2
constexpr double a4 = a2 * a2;       ///< km^4
constexpr double b4 = b2 * b2;       ///< km^4
constexpr double c4 = a4 - b4;       ///< km^4

}  // namespace norvane::wgs84
