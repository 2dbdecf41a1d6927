// A circle of latitude against single points, for the fixed-degree record
// and for a model of higher degree.

#include <gtest/gtest.h>

#include <cmath>

#include "common/Pi.hpp"
#include "tools/model/LoadedModel.hpp"
#include "testsupport/SyntheticModel.hpp"

namespace norvane {
namespace {

struct Circle {
  double altitude, latitude, year;  // km, radians, decimal year
};

// How far apart a circle and single points may be, relative to F: the
// circle sums the same terms in another order.
constexpr double kCircleTolerance = 1e-13;

void ExpectCircleAgrees(const LoadedModel& model) {
  const Circle circles[] = {{0, 0.7, 2006},        {0, kPi / 2, 2007.5},
                            {400, -kPi / 2, 2005}, {-1, -1.2, 2009.9},
                            {35786, 0.1, 2010},    {850, 1.5707963, 2000},
                            {100, -1e-300, 2006.5}};
  for (const Circle& c : circles) {
    SCOPED_TRACE(testing::Message() << c.altitude << " km, " << c.latitude);
    const ModelCircle circle(model, c.altitude, c.latitude, c.year);
    for (double longitude = -7.0; longitude < 7.0; longitude += 0.37) {
      const FieldAndRates p =
          model.Evaluate(c.altitude, c.latitude, longitude, c.year, true);
      const FieldAndRates q = circle.Evaluate(longitude, true);
      const double nT = kCircleTolerance * p.field.F;
      const struct {
        double circle, point;
      } values[] = {{q.field.X, p.field.X},
                    {q.field.Y, p.field.Y},
                    {q.field.Z, p.field.Z},
                    {q.field.F, p.field.F},
                    {q.field.H, p.field.H},
                    {q.rates.X, p.rates.X},
                    {q.rates.Y, p.rates.Y},
                    {q.rates.Z, p.rates.Z},
                    // D as an arc, and I, in nT
                    {q.field.D * p.field.H, p.field.D * p.field.H},
                    {q.field.I * p.field.F, p.field.I * p.field.F}};
      for (const auto& v : values) EXPECT_NEAR(v.circle, v.point, nT);
      const FieldElements f = circle.Evaluate(longitude, false).field;
      EXPECT_EQ(f.X, q.field.X);
      EXPECT_EQ(f.I, q.field.I);
    }
  }
}

TEST(FieldCircleTest, AgreesWithSinglePointsOfTheCompiledInModel) {
  ExpectCircleAgrees(LoadedModel());
}

TEST(FieldCircleTest, AgreesWithSinglePointsOfAHighDegreeModel) {
  ExpectCircleAgrees(LoadedModel(SyntheticModel(40, 15, 2005.0, 3)));
}

}  // namespace
}  // namespace norvane
