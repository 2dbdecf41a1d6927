#include "tools/model/FieldElements.hpp"

#include <GeographicLib/MagneticModel.hpp>
#include <gtest/gtest.h>

#include <cmath>

#include "tools/common/Angles.hpp"

namespace norvane {
namespace {

using tools::Degrees;

// The derived rates against GeographicLib's, which takes east, north and up.
TEST(FieldElementsTest, RatesOfChangeAgreeWithGeographicLib) {
  const double cases[][6] = {
      // X, Y, Z (nT) and dX, dY, dZ (nT/year)
      {20736, 3524, 49225, -12.5, -21.0, 40.25},
      {-1864, -631, -56546, 3, 7, -1},
      {1e-3, -2e-3, 5e4, 1, 1, 1},
      {27476, 0, 0, 0, 10, 0},
  };
  for (const auto& c : cases) {
    FieldElements f;
    f.X = c[0];
    f.Y = c[1];
    f.Z = c[2];
    f.H = std::hypot(f.X, f.Y);
    f.F = std::hypot(f.H, f.Z);
    f.D = std::atan2(f.Y, f.X);
    f.I = std::atan2(f.Z, f.H);
    const FieldElements r = RatesOfChange(f, c[3], c[4], c[5]);
    double H, F, D, I, dH, dF, dD, dI;
    GeographicLib::MagneticModel::FieldComponents(
        c[1], c[0], -c[2], c[4], c[3], -c[5], H, F, D, I, dH, dF, dD, dI);
    const double relative = 1e-13 * (1 + std::fabs(dF));
    EXPECT_EQ(r.X, c[3]);
    EXPECT_EQ(r.Y, c[4]);
    EXPECT_EQ(r.Z, c[5]);
    EXPECT_NEAR(r.H, dH, relative);
    EXPECT_NEAR(r.F, dF, relative);
    EXPECT_NEAR(Degrees(r.D), dD, 1e-13 * std::fabs(dD) + 1e-300);
    EXPECT_NEAR(Degrees(r.I), dI, 1e-13 * std::fabs(dI) + 1e-300);
  }
}

// Straight up or down there is no horizontal direction to change.
TEST(FieldElementsTest, RatesAreNotFiniteWhereHIsZero) {
  const FieldElements vertical = {0, 0, 5e4, 5e4, 0, 0, kPi / 2};
  const FieldElements r = RatesOfChange(vertical, 1, 2, 3);
  EXPECT_TRUE(std::isnan(r.H) && std::isnan(r.D) && std::isnan(r.I) &&
              std::isnan(r.F));
}

}  // namespace
}  // namespace norvane
