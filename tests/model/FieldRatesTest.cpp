// The rate of change of the field, against GeographicLib's derivatives of
// the same table, and the circle of latitude against single points.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/FieldCircle.hpp"
#include "model/FieldModel.hpp"
#include "testsupport/RandomPoints.hpp"
#include "testsupport/ReferenceField.hpp"

namespace norvane {
namespace {

constexpr double kPi = 3.141592653589793;

// The rates share the field's Legendre functions and so their rounding:
// near a pole the colatitude is known to about 1e-8 rad only (see
// ReferenceCrossCheckTest).  The rate vector has no strong dipole and varies
// about three times faster over the sphere, for its size, than the field,
// so that error is a larger share of it.  Allowed discrepancy, relative to
// the size of the rate vector: four times the field's.
double Allowed(double fromPole) {
  return 4 * (fromPole <= 1e-8 ? 1e-8
                               : std::min(3e-8, 3e-16 / fromPole) + 1e-12);
}

TEST(FieldRatesTest, AgreeWithGeographicLibEverywhere) {
  const FieldModel model;
  const ReferenceField reference;
  double worstShare = 0.0;
  FieldPoint worstAt{};
  for (const FieldPoint& p : RandomPoints(6000, 20100101)) {
    double X, Y, Z, F, H, D, I, dX, dY, dZ;
    model.EvaluateWithRates(p.altitude, p.latitude, p.longitude, p.year, X, Y,
                            Z, F, H, D, I, dX, dY, dZ);
    double Xr, Yr, Zr, dXr, dYr, dZr;
    reference.EvaluateWithRates(p.altitude, p.latitude, p.longitude, p.year,
                                Xr, Yr, Zr, dXr, dYr, dZr);
    const double size = std::sqrt(dXr * dXr + dYr * dYr + dZr * dZr);
    const double discrepancy =
        std::max({std::fabs(dX - dXr), std::fabs(dY - dYr),
                  std::fabs(dZ - dZr)}) /
        size;
    const double share =
        discrepancy / Allowed(kPi / 2 - std::fabs(p.latitude));
    if (!(share <= worstShare)) {
      worstShare = share;
      worstAt = p;
    }
  }
  EXPECT_LE(worstShare, 1.0)
      << "at altitude " << worstAt.altitude << " km, latitude "
      << worstAt.latitude << ", longitude " << worstAt.longitude << ", year "
      << worstAt.year;
}

// The rates are exact: the field is linear in the year, so a year's change
// of the field is the rate, up to the rounding of two fields.
TEST(FieldRatesTest, AreTheChangeOverAYear) {
  const FieldModel model;
  for (const FieldPoint& p : RandomPoints(500, 19)) {
    double X0, Y0, Z0, X1, Y1, Z1, F, H, D, I, dX, dY, dZ;
    model.Evaluate(p.altitude, p.latitude, p.longitude, p.year + 1, X1, Y1,
                   Z1, F, H, D, I);
    model.EvaluateWithRates(p.altitude, p.latitude, p.longitude, p.year, X0,
                            Y0, Z0, F, H, D, I, dX, dY, dZ);
    const double tolerance = 1e-10 * F;
    EXPECT_NEAR(dX, X1 - X0, tolerance);
    EXPECT_NEAR(dY, Y1 - Y0, tolerance);
    EXPECT_NEAR(dZ, Z1 - Z0, tolerance);
  }
}

TEST(FieldRatesTest, LeaveTheFieldAsEvaluateGivesIt) {
  const FieldModel model;
  for (const FieldPoint& p : RandomPoints(2000, 7)) {
    double e[7], r[7], dX, dY, dZ;
    model.Evaluate(p.altitude, p.latitude, p.longitude, p.year, e[0], e[1],
                   e[2], e[3], e[4], e[5], e[6]);
    model.EvaluateWithRates(p.altitude, p.latitude, p.longitude, p.year,
                            r[0], r[1], r[2], r[3], r[4], r[5], r[6], dX, dY,
                            dZ);
    for (int i = 0; i < 7; ++i) ASSERT_EQ(r[i], e[i]) << i;
  }
}

struct Circle {
  double altitude, latitude, year;  // km, radians, decimal year
};

TEST(FieldCircleTest, AgreesWithSinglePoints) {
  const FieldModel model;
  const Circle circles[] = {
      {0, 0.7, 2006},        {0, kPi / 2, 2007.5},  {400, -kPi / 2, 2005},
      {-1, -1.2, 2009.9},    {35786, 0.1, 2010},    {850, 1.5707963, 2000},
      {100, -1e-300, 2006.5}};
  for (const Circle& c : circles) {
    SCOPED_TRACE(testing::Message() << c.altitude << " km, " << c.latitude);
    const FieldCircle circle(model, c.altitude, c.latitude, c.year);
    for (double longitude = -7.0; longitude < 7.0; longitude += 0.37) {
      double p[10], q[10];
      model.EvaluateWithRates(c.altitude, c.latitude, longitude, c.year, p[0],
                              p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8],
                              p[9]);
      circle.EvaluateWithRates(longitude, q[0], q[1], q[2], q[3], q[4], q[5],
                               q[6], q[7], q[8], q[9]);
      const double nT = 1e-12 * p[3];
      const double radians = 1e-12;
      for (int i : {0, 1, 2, 3, 4, 7, 8, 9}) EXPECT_NEAR(q[i], p[i], nT) << i;
      EXPECT_NEAR(q[5] * p[4], p[5] * p[4], nT);  // D as an arc, nT
      EXPECT_NEAR(q[6], p[6], radians);
      double e[7];
      circle.Evaluate(longitude, e[0], e[1], e[2], e[3], e[4], e[5], e[6]);
      for (int i = 0; i < 7; ++i) ASSERT_EQ(e[i], q[i]) << i;
    }
  }
}

}  // namespace
}  // namespace norvane
