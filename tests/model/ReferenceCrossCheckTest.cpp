// Compares the field model with GeographicLib's MagneticModel evaluating the
// same compiled-in table, at random points over the whole model space.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "common/Pi.hpp"
#include "model/FieldModel.hpp"
#include "testsupport/RandomPoints.hpp"
#include "testsupport/ReferenceField.hpp"

namespace norvane {
namespace {

// Largest difference over all outputs, relative to F: every component, and
// D and I as the arc they sweep in nT (so that D counts for little where the
// horizontal field is weak).
double RelativeDiscrepancy(const FieldModel& model,
                           const ReferenceField& reference,
                           const FieldPoint& p) {
  double X, Y, Z, F, H, D, I;
  model.Evaluate(p.altitude, p.latitude, p.longitude, p.year, X, Y, Z, F, H, D,
                 I);
  if (!std::isfinite(X + Y + Z + F + H + D + I)) return INFINITY;
  double Xr, Yr, Zr;
  reference.Evaluate(p.altitude, p.latitude, p.longitude, p.year, Xr, Yr, Zr);
  const double Hr = std::hypot(Xr, Yr);
  const double Fr = std::hypot(Hr, Zr);
  const double dD = std::remainder(D - std::atan2(Yr, Xr), 2 * kPi) * H;
  const double dI = (I - std::atan2(Zr, Hr)) * F;
  double largest = 0.0;
  for (double d : {X - Xr, Y - Yr, Z - Zr, F - Fr, H - Hr, dD, dI}) {
    largest = std::max(largest, std::fabs(d));
  }
  return largest / Fr;
}

// The colatitude's sine, formed from 1 - cos^2, is 0 within about 1e-8 rad
// of a pole and at least 1.5e-8 beyond, and is resolved to about
// 2e-16 / sin further out.  So close to a pole the colatitude is known to
// about 1e-8 rad only, which alone accounts for differences of about 1e-8 F
// there, falling off as 1 / distance.  Allowed discrepancy, in F:
double Allowed(double fromPole) {
  return fromPole <= 1e-8 ? 1e-8 : std::min(3e-8, 3e-16 / fromPole) + 1e-12;
}

TEST(ReferenceCrossCheckTest, AgreesWithGeographicLibEverywhere) {
  const FieldModel model;
  const ReferenceField reference;
  double worstNearPole = 0.0;  // within 1e-8 rad
  double worstAway = 0.0;      // beyond 1e-4 rad
  double worstShare = 0.0;     // of the allowed discrepancy
  FieldPoint worstAt{};
  for (const FieldPoint& p : RandomPoints(12000, 20050101)) {
    const double fromPole = kPi / 2 - std::fabs(p.latitude);
    const double discrepancy = RelativeDiscrepancy(model, reference, p);
    if (fromPole <= 1e-8) worstNearPole = std::max(worstNearPole, discrepancy);
    if (fromPole > 1e-4) worstAway = std::max(worstAway, discrepancy);
    const double share = discrepancy / Allowed(fromPole);
    if (!(share <= worstShare)) {
      worstShare = share;
      worstAt = p;
    }
  }
  RecordProperty("worst_within_1e-8_rad_of_a_pole",
                 testing::PrintToString(worstNearPole));
  RecordProperty("worst_beyond_1e-4_rad", testing::PrintToString(worstAway));
  EXPECT_LE(worstShare, 1.0)
      << "at altitude " << worstAt.altitude << " km, latitude "
      << worstAt.latitude << ", longitude " << worstAt.longitude << ", year "
      << worstAt.year;
}

}  // namespace
}  // namespace norvane
