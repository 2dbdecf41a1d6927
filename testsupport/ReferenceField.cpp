#include "testsupport/ReferenceField.hpp"

#include <algorithm>

#include "model/Wgs84.hpp"

namespace norvane {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

// Our ellipsoid in GeographicLib's terms: semi-major axis in metres and
// flattening.
GeographicLib::Geocentric Ellipsoid() {
  return GeographicLib::Geocentric(wgs84::a * 1000.0,
                                   (wgs84::a - wgs84::b) / wgs84::a);
}

}  // namespace

ReferenceField::ReferenceField()
    : model_(NORVANE_MODEL_NAME, NORVANE_MODEL_DIR, Ellipsoid()) {}

void ReferenceField::Evaluate(double altitude, double latitude,
                              double longitude, double year, double& X,
                              double& Y, double& Z) const {
  // Rounding may carry +-pi/2 just past +-90 degrees, which GeographicLib
  // rejects as an invalid latitude.
  const double latitudeDegrees =
      std::clamp(latitude * kDegreesPerRadian, -90.0, 90.0);
  double east, north, up;
  model_(year, latitudeDegrees, longitude * kDegreesPerRadian,
         altitude * 1000.0, east, north, up);
  X = north;
  Y = east;
  Z = -up;
}

}  // namespace norvane
