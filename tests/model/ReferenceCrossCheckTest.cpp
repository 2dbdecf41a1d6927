// Compares the field model with GeographicLib's MagneticModel evaluating the
// same compiled-in table, at random points over the whole model space.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "model/FieldModel.hpp"
#include "testsupport/ReferenceField.hpp"

namespace norvane {
namespace {

constexpr double kPi = 3.141592653589793;

struct Sample {
  double altitude, latitude, longitude, year;  // km, rad, rad, years
};

// Mostly uniform latitudes; every tenth point sits exactly on a pole or
// within 1e-8 rad of one, where the east sum takes its separate branch.
Sample Draw(std::mt19937_64& random, int index) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double u = unit(random);
  Sample s;
  // Cubed to put more points near the surface, where high degrees matter.
  s.altitude = -10.0 + 40010.0 * u * u * u;
  s.longitude = -2.0 * kPi + 4.0 * kPi * unit(random);
  s.year = 2000.0 + 12.0 * unit(random);
  const double pole = index % 20 < 10 ? kPi / 2 : -kPi / 2;
  switch (index % 10) {
    case 0:
      s.latitude = pole;
      break;
    case 1:
      s.latitude = pole - std::copysign(1e-8 * unit(random), pole);
      break;
    default:
      s.latitude = -kPi / 2 + kPi * unit(random);
  }
  return s;
}

struct Discrepancy {
  double relative = 0.0;  // worst component difference / F
  Sample at{};
};

TEST(ReferenceCrossCheckTest, AgreesWithGeographicLibEverywhere) {
  const FieldModel model;
  const ReferenceField reference;
  std::mt19937_64 random(20050101);
  Discrepancy worst;
  constexpr int kSamples = 12000;
  for (int i = 0; i < kSamples; ++i) {
    const Sample s = Draw(random, i);
    double X, Y, Z, F, H, D, I;
    model.Evaluate(s.altitude, s.latitude, s.longitude, s.year, X, Y, Z, F,
                   H, D, I);
    double Xr, Yr, Zr;
    reference.Evaluate(s.altitude, s.latitude, s.longitude, s.year, Xr, Yr,
                       Zr);
    const double Hr = std::hypot(Xr, Yr);
    const double Fr = std::hypot(Hr, Zr);
    // Angles as the arc they sweep, in nT, so that D counts for little where
    // the horizontal field is weak.
    const double dD = std::remainder(D - std::atan2(Yr, Xr), 2 * kPi) * H;
    const double dI = (I - std::atan2(Zr, Hr)) * F;
    const double differences[] = {X - Xr, Y - Yr, Z - Zr, F - Fr,
                                  H - Hr, dD,     dI};
    double largest = 0.0;
    for (double d : differences) largest = std::max(largest, std::fabs(d));
    if (!(largest / Fr <= worst.relative)) worst = {largest / Fr, s};
  }
  RecordProperty("worst_relative", testing::PrintToString(worst.relative));
  EXPECT_LE(worst.relative, 1e-8)
      << "at altitude " << worst.at.altitude << " km, latitude "
      << worst.at.latitude << ", longitude " << worst.at.longitude
      << ", year " << worst.at.year;
  std::cout << "worst discrepancy: " << worst.relative << " F at altitude "
            << worst.at.altitude << " km, latitude " << worst.at.latitude
            << " rad\n";
}

}  // namespace
}  // namespace norvane
