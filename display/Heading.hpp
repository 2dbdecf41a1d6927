#pragma once
/**
 * \file Heading.hpp
 * \brief Bringing a heading into one turn.
 */

namespace norvane {

/**
 * pi as the page uses it for degrees and headings: fifteen significant
 * digits, a little less than the double nearest pi.  It is the value the page
 * has always converted with, so the degrees and headings it shows stay
 * exactly as they were: a heading of 6.28318530717958 shows as 360 degrees,
 * while 6.283185307179586, the true 2 pi, wraps to about 6.2e-15 rad.
 */
constexpr double kPagePi = 3.14159265358979;

/// One turn as the page counts it, 6.28318530717958 (doubling is exact).
constexpr double kPageTwoPi = 2 * kPagePi;

/**
 * Brings a heading into [0, kPageTwoPi] by adding or subtracting whole turns
 * of kPageTwoPi; exactly kPageTwoPi stays kPageTwoPi.
 *
 * Headings within a few hundred turns are stepped turn by turn, so their
 * result is exact to the step; a larger finite heading is first reduced with
 * an exact remainder.  A non-finite heading is returned as it is.
 *
 * @param[in] heading radians, any value.
 * @return radians, in [0, kPageTwoPi] for a finite heading.
 */
double NormaliseHeading(double heading);

}  // namespace norvane
