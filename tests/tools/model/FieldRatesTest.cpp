// The rate of change of the field, against GeographicLib's derivatives of
// the same table.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/Pi.hpp"
#include "model/FieldModel.hpp"
#include "tools/model/LoadedModel.hpp"
#include "testsupport/RandomPoints.hpp"
#include "testsupport/ReferenceField.hpp"

namespace norvane {
namespace {

// The rates share the field's Legendre functions and so their rounding:
// near a pole the colatitude is known to about 1e-8 rad only (see
// ReferenceCrossCheckTest).  The rate vector has no strong dipole and varies
// about three times faster over the sphere, for its size, than the field,
// so that error is a larger share of it.  Allowed discrepancy, relative to
// the size of the rate vector: four times the field's.
double Allowed(double fromPole) {
  return 4 *
         (fromPole <= 1e-8 ? 1e-8 : std::min(3e-8, 3e-16 / fromPole) + 1e-12);
}

TEST(FieldRatesTest, AgreeWithGeographicLibEverywhere) {
  const LoadedModel model;
  const ReferenceField reference;
  double worstShare = 0.0;
  FieldPoint worstAt{};
  for (const FieldPoint& p : RandomPoints(6000, 20100101)) {
    const FieldElements r =
        model.Evaluate(p.altitude, p.latitude, p.longitude, p.year, true).rates;
    const double dX = r.X, dY = r.Y, dZ = r.Z;
    double Xr, Yr, Zr, dXr, dYr, dZr;
    reference.EvaluateWithRates(p.altitude, p.latitude, p.longitude, p.year, Xr,
                                Yr, Zr, dXr, dYr, dZr);
    const double size = std::sqrt(dXr * dXr + dYr * dYr + dZr * dZr);
    const double discrepancy =
        std::max(
            {std::fabs(dX - dXr), std::fabs(dY - dYr), std::fabs(dZ - dZr)}) /
        size;
    const double share = discrepancy / Allowed(kPi / 2 - std::fabs(p.latitude));
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
  const LoadedModel model;
  for (const FieldPoint& p : RandomPoints(500, 19)) {
    const FieldAndRates a =
        model.Evaluate(p.altitude, p.latitude, p.longitude, p.year, true);
    const FieldElements b =
        model.Evaluate(p.altitude, p.latitude, p.longitude, p.year + 1, false)
            .field;
    const double tolerance = 1e-10 * a.field.F;
    EXPECT_NEAR(a.rates.X, b.X - a.field.X, tolerance);
    EXPECT_NEAR(a.rates.Y, b.Y - a.field.Y, tolerance);
    EXPECT_NEAR(a.rates.Z, b.Z - a.field.Z, tolerance);
  }
}

// The tools' compiled-in model is the module's to the last bit, with or
// without the rates.
TEST(FieldRatesTest, LeaveTheFieldAsEvaluateGivesIt) {
  const FieldModel record;
  const LoadedModel model;
  for (const FieldPoint& p : RandomPoints(2000, 7)) {
    FieldElements e;
    record.Evaluate(p.altitude, p.latitude, p.longitude, p.year, e.X, e.Y, e.Z,
                    e.F, e.H, e.D, e.I);
    for (const bool rates : {false, true}) {
      const FieldElements f =
          model.Evaluate(p.altitude, p.latitude, p.longitude, p.year, rates)
              .field;
      ASSERT_EQ(0, std::memcmp(&f, &e, sizeof f)) << rates;
    }
  }
}

}  // namespace
}  // namespace norvane
