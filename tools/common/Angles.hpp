#pragma once
/**
 * \file Angles.hpp
 * \brief Degree and radian conversions of the command-line tools.
 */

#include "common/Pi.hpp"

namespace norvane::tools {

/// Radians per degree, rounded once to the nearest double.
constexpr double kRadiansPerDegree = kPi / 180.0;

/// Degrees per radian, rounded once to the nearest double.
constexpr double kDegreesPerRadian = 180.0 / kPi;

/**
 * Converts an angle to radians.
 *
 * @param[in] degrees angle, degrees.
 * @return degrees x (pi / 180), radians.
 */
constexpr double Radians(double degrees) { return degrees * kRadiansPerDegree; }

/**
 * Converts an angle to degrees.
 *
 * @param[in] radians angle, radians.
 * @return radians x (180 / pi), degrees.
 */
constexpr double Degrees(double radians) { return radians * kDegreesPerRadian; }

// The field model takes its polar branch only where the latitude is exactly
// +-pi/2, so a pole typed in degrees must land there without rounding.
static_assert(Radians(90.0) == kPi / 2 && Radians(-90.0) == -kPi / 2,
              "+-90 degrees must map to exactly +-pi/2");

}  // namespace norvane::tools
