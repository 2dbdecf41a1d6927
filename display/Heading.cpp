#include "display/Heading.hpp"

#include <math.h>

namespace norvane {
namespace {

// Beyond this many radians a heading is reduced by remainder first, so the
// stepping below runs at most a few hundred times and always ends (a step of
// kTwoPi no longer changes a heading of 1e17 or more).
constexpr double kSteppingLimit = 256 * kTwoPi;

}  // namespace

double NormaliseHeading(double heading) {
  if (!isfinite(heading)) return heading;
  if (fabs(heading) > kSteppingLimit) {
    heading = fmod(heading, kTwoPi);
  }
  while (heading < 0.0) heading += kTwoPi;
  while (heading > kTwoPi) heading -= kTwoPi;
  return heading;
}

}  // namespace norvane
