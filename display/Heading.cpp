#include "display/Heading.hpp"

#include <math.h>

namespace norvane {
namespace {

// Beyond this many radians a heading is reduced by remainder first, so the
// stepping below runs at most a few hundred times and always ends (a step of
// kPageTwoPi no longer changes a heading of 1e17 or more).
constexpr double kSteppingLimit = 256 * kPageTwoPi;

}  // namespace

double NormaliseHeading(double heading) {
  if (!isfinite(heading)) return heading;
  if (fabs(heading) > kSteppingLimit) {
    heading = fmod(heading, kPageTwoPi);
  }
  while (heading < 0.0) heading += kPageTwoPi;
  while (heading > kPageTwoPi) heading -= kPageTwoPi;
  return heading;
}

}  // namespace norvane
