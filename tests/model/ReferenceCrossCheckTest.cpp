// Compares the field model with GeographicLib's MagneticModel evaluating the
// same compiled-in table, at random points over the whole model space.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "model/FieldModel.hpp"
#include "testsupport/RandomPoints.hpp"
#include "testsupport/ReferenceField.hpp"

namespace norvane {
namespace {

constexpr double kPi = 3.141592653589793;

// Largest difference over all outputs, relative to F: every component, and
// D and I as the arc they sweep in nT (so that D counts for little where the
// horizontal field is weak).
double RelativeDiscrepancy(const FieldModel& model,
                           const ReferenceField& reference,
                           const FieldPoint& p) {
  double X, Y, Z, F, H, D, I;
  model.Evaluate(p.altitude, p.latitude, p.longitude, p.year, X, Y, Z, F, H,
                 D, I);
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

// The colatitude's sine, formed from 1 - cos^2, is resolved to about
// 1e-16 / sin: within 1e-8 rad of a pole that alone accounts for differences
// up to about 1e-8 F, and from 1e-6 rad on for less than 1e-10 F.
TEST(ReferenceCrossCheckTest, AgreesWithGeographicLibEverywhere) {
  const FieldModel model;
  const ReferenceField reference;
  struct {
    const char* where;
    double bound;
    double worst = 0.0;
    FieldPoint at{};
  } regions[] = {{"near a pole", 1e-8}, {"elsewhere", 1e-10}};
  for (const FieldPoint& p : RandomPoints(12000, 20050101)) {
    auto& region = regions[std::fabs(p.latitude) > kPi / 2 - 1e-6 ? 0 : 1];
    const double discrepancy = RelativeDiscrepancy(model, reference, p);
    if (!(discrepancy <= region.worst)) {
      region.worst = discrepancy;
      region.at = p;
    }
  }
  for (const auto& region : regions) {
    RecordProperty(std::string("worst_relative_") + region.where,
                   testing::PrintToString(region.worst));
    EXPECT_LE(region.worst, region.bound)
        << region.where << ": at altitude " << region.at.altitude
        << " km, latitude " << region.at.latitude << ", longitude "
        << region.at.longitude << ", year " << region.at.year;
  }
}

}  // namespace
}  // namespace norvane
