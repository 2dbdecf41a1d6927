#pragma once
/**
 * \file DefaultVessel.hpp
 * \brief The vessel and surface both stand-in hosts paint when the command
 *   line says nothing: on the ground at 28.6° N 80.6° W, on the equatorial
 *   radius, heading east, 256 × 256.  Plain constants, for the Windows host's
 *   build without a C++ standard library too.
 */

namespace norvane::sim {

constexpr double kDefaultLatitude = 28.6;    ///< degrees
constexpr double kDefaultLongitude = -80.6;  ///< degrees
constexpr double kDefaultAltitude = 0.0;     ///< km above the equatorial radius
constexpr double kDefaultHeading = 90.0;     ///< degrees
constexpr unsigned kDefaultSide = 256;       ///< pixels

}  // namespace norvane::sim
