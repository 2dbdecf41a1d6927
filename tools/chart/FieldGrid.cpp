#include "tools/chart/FieldGrid.hpp"

#include <cmath>

#include "model/FieldCircle.hpp"
#include "model/Wmm2005.hpp"
#include "tools/Angles.hpp"
#include "tools/FieldElements.hpp"

namespace norvane::chart {
namespace {

constexpr double kArcMinutesPerDegree = 60.0;

// The requested quantity from the field (and its rates, when asked for).
double Pick(const Quantity& quantity, const tools::FieldElements& field,
            double dX, double dY, double dZ) {
  const tools::FieldElements e =
      quantity.rates ? tools::RatesOfChange(field, dX, dY, dZ) : field;
  // Angles in degrees, their rates in arc-minutes a year.
  const double angleUnit = quantity.rates ? kArcMinutesPerDegree : 1.0;
  switch (quantity.element) {
    case Element::kD: {
      const double d = tools::Degrees(e.D) * angleUnit;
      return !quantity.rates && d == -180.0 ? 180.0 : d;  // D in (-180, 180]
    }
    case Element::kI:
      return tools::Degrees(e.I) * angleUnit;
    case Element::kH:
      return e.H;
    case Element::kX:
      return e.X;
    case Element::kY:
      return e.Y;
    case Element::kZ:
      return e.Z;
    case Element::kF:
      return e.F;
  }
  return NAN;
}

}  // namespace

FieldSource::FieldSource(const FieldRequest& request) : request_(request) {}

const char* FieldSource::ModelName() const { return "WMM-2005"; }

bool FieldSource::Valid() const {
  return request_.year >= kWmm2005ValidFrom &&
         request_.year <= kWmm2005ValidUntil &&
         request_.altitude >= kWmm2005LowestAltitude &&
         request_.altitude <= kWmm2005HighestAltitude;
}

const char* FieldSource::Validity() const {
  static_assert(kWmm2005ValidFrom == 2005.0 && kWmm2005ValidUntil == 2010.0 &&
                    kWmm2005LowestAltitude == -1.0 &&
                    kWmm2005HighestAltitude == 850.0,
                "the words name the model's bounds");
  return "2005.0 to 2010.0, -1 to 850 km";
}

void FieldSource::Row(double latitude, double longitude0, double step,
                      int count, double* values, double* horizontal) const {
  const FieldCircle circle(model_, request_.altitude, tools::Radians(latitude),
                           request_.year);
  for (int k = 0; k < count; ++k) {
    tools::FieldElements f;
    double dX = 0.0, dY = 0.0, dZ = 0.0;
    const double longitude = tools::Radians(longitude0 + k * step);
    if (request_.quantity.rates) {
      circle.EvaluateWithRates(longitude, f.X, f.Y, f.Z, f.F, f.H, f.D, f.I, dX,
                               dY, dZ);
    } else {
      circle.Evaluate(longitude, f.X, f.Y, f.Z, f.F, f.H, f.D, f.I);
    }
    values[k] = Pick(request_.quantity, f, dX, dY, dZ);
    horizontal[k] = f.H;
  }
}

double FieldSource::Value(double latitude, double longitude) const {
  tools::FieldElements f;
  double dX = 0.0, dY = 0.0, dZ = 0.0;
  const double lat = tools::Radians(latitude);
  const double lon = tools::Radians(longitude);
  if (request_.quantity.rates) {
    model_.EvaluateWithRates(request_.altitude, lat, lon, request_.year, f.X,
                             f.Y, f.Z, f.F, f.H, f.D, f.I, dX, dY, dZ);
  } else {
    model_.Evaluate(request_.altitude, lat, lon, request_.year, f.X, f.Y, f.Z,
                    f.F, f.H, f.D, f.I);
  }
  return Pick(request_.quantity, f, dX, dY, dZ);
}

Grid EvaluateGrid(const FieldSource& source, double step) {
  Grid grid;
  grid.columns = static_cast<int>(std::lround(360.0 / step));
  grid.rows = static_cast<int>(std::lround(180.0 / step)) + 1;
  grid.lonStep = 360.0 / grid.columns;
  grid.latStep = 180.0 / (grid.rows - 1);
  const std::size_t nodes = static_cast<std::size_t>(grid.columns) *
                            static_cast<std::size_t>(grid.rows);
  grid.values.resize(nodes);
  grid.horizontal.resize(nodes);
  for (int j = 0; j < grid.rows; ++j) {
    const std::size_t first = static_cast<std::size_t>(j) * grid.columns;
    source.Row(grid.Latitude(j), -180.0, grid.lonStep, grid.columns,
               &grid.values[first], &grid.horizontal[first]);
  }
  return grid;
}

}  // namespace norvane::chart
