#include "model/FieldModel.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "common/Pi.hpp"

namespace norvane {
namespace {

double Rad(double degrees) { return degrees * (kPi / 180.0); }

struct Point {
  double altitude, latitude, longitude, year;  // km, deg, deg, years
  double X, Y, Z, F, H, D, I;                  // nT, rad
};

// Reference values to the printed digits.
const Point kReference[] = {
    {0, 40, -105, 2006.0, 20735.978, 3524.012, 49225.329, 53530.668, 21033.294,
     0.168338, 1.166991},
    {0, 90, 0, 2006.0, 1864.118, -631.194, 56546.319, 56580.558, 1968.081,
     -0.326485, 1.536006},
    {0, -90, 0, 2006.0, 14543.613, -7994.452, -52959.509, 55498.987, 16596.022,
     -0.502604, -1.267117},
    {0, 0, 0, 2005.0, 27476.538, -3234.877, -15057.676, 31498.542, 27666.307,
     -0.117193, -0.498426},
    {400, 51.6, 120, 2006.0, 17080.881, -2564.016, 44793.271, 48007.997,
     17272.252, -0.148998, 1.202766},
    {35786, 0, 0, 2006.0, 99.205, -16.879, 6.745, 100.856, 100.630, -0.168527,
     0.066924},
    {100, -60, 200, 2010.0, 11155.645, 10759.402, -53853.888, 56039.757,
     15498.811, 0.767319, -1.290575},
};

TEST(FieldModelTest, MatchesReferencePoints) {
  const FieldModel model;
  for (const Point& p : kReference) {
    SCOPED_TRACE(testing::Message() << p.latitude << " " << p.longitude);
    double X, Y, Z, F, H, D, I;
    const double latitude = std::fabs(p.latitude) == 90.0
                                ? std::copysign(kPi / 2, p.latitude)
                                : Rad(p.latitude);
    model.Evaluate(p.altitude, latitude, Rad(p.longitude), p.year, X, Y, Z, F,
                   H, D, I);
    EXPECT_NEAR(X, p.X, 5e-4);
    EXPECT_NEAR(Y, p.Y, 5e-4);
    EXPECT_NEAR(Z, p.Z, 5e-4);
    EXPECT_NEAR(F, p.F, 5e-4);
    EXPECT_NEAR(H, p.H, 5e-4);
    EXPECT_NEAR(D, p.D, 5e-7);
    EXPECT_NEAR(I, p.I, 5e-7);
  }
}

}  // namespace
}  // namespace norvane
