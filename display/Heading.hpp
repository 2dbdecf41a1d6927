#pragma once
/**
 * \file Heading.hpp
 * \brief Bringing a heading into one turn.
 */

namespace norvane {

/// pi as the page uses it for degrees and headings.
constexpr double kPi = 3.14159265358979;

/// One turn, exactly twice kPi (slightly less than the true 2 pi).
constexpr double kTwoPi = 6.28318530717958;

/**
 * Brings a heading into [0, kTwoPi] by adding or subtracting whole turns of
 * kTwoPi; exactly kTwoPi stays kTwoPi.
 *
 * Headings within a few hundred turns are stepped turn by turn, so their
 * result is exact to the step; a larger finite heading is first reduced with
 * an exact remainder.  A non-finite heading is returned as it is.
 *
 * @param[in] heading radians, any value.
 * @return radians, in [0, kTwoPi] for a finite heading.
 */
double NormaliseHeading(double heading);

}  // namespace norvane
