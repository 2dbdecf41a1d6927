// Properties of the evaluation that hold across the model space: the pole
// branch, periodicity in longitude, linearity in time, growth with depth and
// the relations between the seven outputs.

#include <gtest/gtest.h>

#include <cmath>

#include "common/Pi.hpp"
#include "model/FieldModel.hpp"

namespace norvane {
namespace {

double Rad(double degrees) { return degrees * (kPi / 180.0); }

struct Field {
  double X, Y, Z, F, H, D, I;  // nT, rad
};

Field Evaluate(double altitude, double latitude, double longitude,
               double year = 2006.0) {
  static const FieldModel model;
  Field f;
  model.Evaluate(altitude, latitude, longitude, year, f.X, f.Y, f.Z, f.F, f.H,
                 f.D, f.I);
  return f;
}

void ExpectSameField(const Field& a, const Field& b, double nT) {
  EXPECT_NEAR(a.X, b.X, nT);
  EXPECT_NEAR(a.Y, b.Y, nT);
  EXPECT_NEAR(a.Z, b.Z, nT);
  EXPECT_NEAR(a.F, b.F, nT);
  EXPECT_NEAR(a.H, b.H, nT);
}

// Exactly at a pole the east component comes from its own recursion; a
// point 1e-6 degrees away takes the ordinary one.  Both must meet.
TEST(FieldModelPropertiesTest, PoleBranchJoinsTheOrdinaryOne) {
  for (double pole : {kPi / 2, -kPi / 2}) {
    for (double longitude : {10.0, 0.0, -75.0, 160.0, 300.0}) {
      SCOPED_TRACE(testing::Message()
                   << "pole " << pole << " longitude " << longitude);
      const Field at = Evaluate(0.0, pole, Rad(longitude));
      const double near = std::copysign(Rad(89.999999), pole);
      ExpectSameField(at, Evaluate(0.0, near, Rad(longitude)), 1e-3);
    }
  }
}

TEST(FieldModelPropertiesTest, NorthPoleAtTenDegreesEast) {
  const Field f = Evaluate(0.0, kPi / 2, Rad(10.0));
  EXPECT_NEAR(f.X, 1945.404, 5e-4);
  EXPECT_NEAR(f.Y, -297.904, 5e-4);
}

// Within about 1.28e-8 rad of a pole at the surface the colatitude's sine
// rounds to 0, so the pole branch runs there too and stays finite.
TEST(FieldModelPropertiesTest, PoleBranchCoversItsRoundingNeighbourhood) {
  for (double offset : {1e-9, 5e-9, 1.2e-8}) {
    const Field at = Evaluate(0.0, kPi / 2, Rad(10.0));
    const Field near = Evaluate(0.0, kPi / 2 - offset, Rad(10.0));
    ASSERT_TRUE(std::isfinite(near.Y)) << offset;
    ExpectSameField(at, near, 1e-3);
  }
}

TEST(FieldModelPropertiesTest, PeriodicInLongitude) {
  const struct {
    double latitude, a, b;  // degrees; longitudes a and b are one meridian
  } cases[] = {{40, -105, 255},
               {-33, 151, 151 + 360},
               {70, 0, -360},
               {0, 180, -180},
               {-89, 12, 12 + 720}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.latitude << " " << c.a);
    ExpectSameField(Evaluate(100.0, Rad(c.latitude), Rad(c.a)),
                    Evaluate(100.0, Rad(c.latitude), Rad(c.b)), 1e-6);
  }
}

// X, Y, Z are linear in the coefficients and so in the year, at and beyond
// the span of the model alike.
TEST(FieldModelPropertiesTest, LinearInTheYear) {
  for (double latitude : {-60.0, 0.0, 45.0}) {
    const Field before = Evaluate(0.0, Rad(latitude), 1.0, 2000.0);
    const Field epoch = Evaluate(0.0, Rad(latitude), 1.0, 2005.0);
    const Field after = Evaluate(0.0, Rad(latitude), 1.0, 2010.0);
    EXPECT_NEAR(epoch.X - before.X, after.X - epoch.X, 1e-9);
    EXPECT_NEAR(epoch.Y - before.Y, after.Y - epoch.Y, 1e-9);
    EXPECT_NEAR(epoch.Z - before.Z, after.Z - epoch.Z, 1e-9);
    EXPECT_NE(epoch.X, after.X);
  }
}

// The internal field grows towards the centre, below the surface too.
TEST(FieldModelPropertiesTest, StrongerWithDepth) {
  for (double latitude : {-70.0, 0.0, 52.0}) {
    const double below = Evaluate(-10.0, Rad(latitude), 0.3).F;
    const double surface = Evaluate(0.0, Rad(latitude), 0.3).F;
    const double above = Evaluate(400.0, Rad(latitude), 0.3).F;
    EXPECT_GT(below, surface) << latitude;
    EXPECT_GT(surface, above) << latitude;
  }
}

// Each output is where it belongs: H and F are the horizontal and total
// intensities of (X, Y, Z), D the bearing of (X, Y), I the dip of (H, Z).
TEST(FieldModelPropertiesTest, OutputsAreConsistentAllOverTheSphere) {
  for (double latitude = -90.0; latitude <= 90.0; latitude += 15.0) {
    for (double longitude = -180.0; longitude < 180.0; longitude += 30.0) {
      SCOPED_TRACE(testing::Message() << latitude << " " << longitude);
      const Field f = Evaluate(0.0, Rad(latitude), Rad(longitude));
      EXPECT_NEAR(f.H, std::hypot(f.X, f.Y), 1e-9 * f.F);
      EXPECT_NEAR(f.F, std::hypot(f.H, f.Z), 1e-9 * f.F);
      EXPECT_NEAR(f.H * std::cos(f.D), f.X, 1e-9 * f.F);
      EXPECT_NEAR(f.H * std::sin(f.D), f.Y, 1e-9 * f.F);
      EXPECT_NEAR(f.F * std::sin(f.I), f.Z, 1e-9 * f.F);
      EXPECT_GE(f.D, -kPi);
      EXPECT_LE(f.D, kPi);
      EXPECT_GE(f.I, -kPi / 2);
      EXPECT_LE(f.I, kPi / 2);
      // Earth's field: 22,000 to 67,000 nT at the surface.
      EXPECT_GT(f.F, 2.0e4);
      EXPECT_LT(f.F, 7.0e4);
    }
  }
}

}  // namespace
}  // namespace norvane
