#include "testsupport/ReferenceField.hpp"

#include <algorithm>

#include "model/Wgs84.hpp"

namespace norvane {
namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

// The compiled-in model's ellipsoid in GeographicLib's terms: semi-major
// axis in metres and flattening.
GeographicLib::Geocentric ModuleEllipsoid() {
  return GeographicLib::Geocentric(wgs84::a * 1000.0,
                                   (wgs84::a - wgs84::b) / wgs84::a);
}

// The ellipsoid of the models in coefficient files: WGS-84 as defined.
GeographicLib::Geocentric FileEllipsoid() {
  return GeographicLib::Geocentric(wgs84::a * 1000.0,
                                   1.0 / wgs84::inverseFlattening);
}

// Rounding may carry +-pi/2 just past +-90 degrees, which GeographicLib
// rejects as an invalid latitude.
double LatitudeDegrees(double latitude) {
  return std::clamp(latitude * kDegreesPerRadian, -90.0, 90.0);
}

}  // namespace

ReferenceField::ReferenceField()
    : model_(NORVANE_MODEL_NAME, NORVANE_MODEL_DIR, ModuleEllipsoid()) {}

ReferenceField::ReferenceField(const std::string& name,
                               const std::string& directory)
    : model_(name, directory, FileEllipsoid()) {}

void ReferenceField::Evaluate(double altitude, double latitude,
                              double longitude, double year, double& X,
                              double& Y, double& Z) const {
  double east, north, up;
  model_(year, LatitudeDegrees(latitude), longitude * kDegreesPerRadian,
         altitude * 1000.0, east, north, up);
  X = north;
  Y = east;
  Z = -up;
}

void ReferenceField::EvaluateWithRates(double altitude, double latitude,
                                       double longitude, double year, double& X,
                                       double& Y, double& Z, double& dX,
                                       double& dY, double& dZ) const {
  double east, north, up, eastRate, northRate, upRate;
  model_(year, LatitudeDegrees(latitude), longitude * kDegreesPerRadian,
         altitude * 1000.0, east, north, up, eastRate, northRate, upRate);
  X = north;
  Y = east;
  Z = -up;
  dX = northRate;
  dY = eastRate;
  dZ = -upRate;
}

GeographicLib::MagneticCircle ReferenceField::Circle(double altitude,
                                                     double latitude,
                                                     double year) const {
  return model_.Circle(year, LatitudeDegrees(latitude), altitude * 1000.0);
}

}  // namespace norvane
