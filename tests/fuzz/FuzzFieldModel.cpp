// FieldModel::Evaluate with any altitude, latitude, longitude and year.
//
// Input: altitude (km), latitude (rad), longitude (rad), year: four doubles.
//
// No input may trip a sanitizer.  For a point well away from the body's
// centre (altitude above -6000 km) and below 1e300 km, a latitude in
// [-pi/2, pi/2], a finite longitude and a year within 1e100 of ours, the
// results are finite,
// F >= H >= 0, D lies in [-pi, pi] and I in [-pi/2, pi/2].  Other inputs are
// garbage in and only have to be survived: near the centre the field grows
// as (6371 km / r)^14, over some 1e130 years the secular variation drives it
// past the range of a double, so its squares overflow, and from about
// 2.8e304 km on altitude times an ellipsoid radius overflows, giving NaN.
//
// Where the processor has wide registers the model sums four orders at a
// time; the portable sums must then give the same field but for rounding.

#include <cmath>
#include <cstdint>

#include "Fuzz.hpp"
#include "PortableModel.hpp"
#include "common/Pi.hpp"
#include "model/FieldModel.hpp"

namespace {

using norvane::kPi;
using norvane::fuzz::Require;

constexpr double kLowestAltitude = -6000.0;  // km; the centre is near -6371
constexpr double kHighestAltitude = 1e300;   // km
constexpr double kLongestSpan = 1e100;       // years
// Largest difference between the two ways of summing, relative to the field.
constexpr double kPathsAgree = 1e-9;

bool Sensible(double altitude, double latitude, double longitude, double year) {
  return altitude > kLowestAltitude && altitude < kHighestAltitude &&
         std::fabs(latitude) <= kPi / 2 && std::isfinite(longitude) &&
         std::fabs(year) <= kLongestSpan;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static const norvane::FieldModel model;
  norvane::fuzz::FuzzInput input(data, size);
  const double altitude = input.Take<double>();
  const double latitude = input.Take<double>();
  const double longitude = input.Take<double>();
  const double year = input.Take<double>();

  double X, Y, Z, F, H, D, I;
  model.Evaluate(altitude, latitude, longitude, year, X, Y, Z, F, H, D, I);
  if (!Sensible(altitude, latitude, longitude, year)) return 0;

  Require(std::isfinite(X) && std::isfinite(Y) && std::isfinite(Z) &&
              std::isfinite(F) && std::isfinite(H) && std::isfinite(D) &&
              std::isfinite(I),
          "finite results");
  Require(F >= H && H >= 0.0, "F >= H >= 0");
  Require(std::fabs(D) <= kPi, "D in [-pi, pi]");
  Require(std::fabs(I) <= kPi / 2, "I in [-pi/2, pi/2]");

  double portable[7];
  portable_model::Evaluate(altitude, latitude, longitude, year, portable);
  // Relative to the largest component: far out the squares in F underflow.
  const double tolerance =
      kPathsAgree *
      std::fmax(std::fabs(X), std::fmax(std::fabs(Y), std::fabs(Z)));
  Require(std::fabs(X - portable[0]) <= tolerance &&
              std::fabs(Y - portable[1]) <= tolerance &&
              std::fabs(Z - portable[2]) <= tolerance,
          "wide and portable sums agree");
  return 0;
}
