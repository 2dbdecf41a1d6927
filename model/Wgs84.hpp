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
constexpr double re = 6371.2;  ///< reference radius of the expansion, km

}  // namespace norvane::wgs84
