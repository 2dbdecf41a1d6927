#include "tools/chart/FieldGrid.hpp"

#include <cmath>
#include <cstdio>
#include <optional>

#include "model/Wmm2005.hpp"
#include "tools/model/FieldElements.hpp"
#include "tools/common/Angles.hpp"
#include "tools/common/ParallelFor.hpp"

namespace norvane::chart {
namespace {

constexpr double kArcMinutesPerDegree = 60.0;

// The requested quantity from the field (and its rates, when asked for).
double Pick(const Quantity& quantity, const std::optional<ErrorModel>& errors,
            const FieldAndRates& values) {
  if (quantity.uncertainty)
    return errors ? DeclinationUncertainty(*errors, values.field.H) : NAN;
  const FieldElements& e = quantity.rates ? values.rates : values.field;
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

FieldSource::FieldSource(const TimeVaryingModel& model,
                         const FieldRequest& request)
    : model_(&model),
      request_(request),
      errors_(PublishedErrorModel(model.name())) {}

bool FieldSource::Valid() const {
  return !BoundsBeyond(model_->validity(), request_.year, request_.altitude)
              .Any();
}

std::string FieldSource::ValidityText() const {
  const Validity v = model_->validity();
  char text[128];
  std::snprintf(text, sizeof text, "%.1f to %.1f, %g to %g km", v.from, v.until,
                v.lowest, v.highest);
  return text;
}

double FieldSource::Altitude(double latitude, double longitude) const {
  return request_.geoid ? request_.geoid->EllipsoidHeight(latitude, longitude,
                                                          request_.altitude)
                        : request_.altitude;
}

bool FieldSource::CirclesPay() const {
  // Up to the fixed record's degree a point costs about what a few
  // longitudes of a circle do.
  return !request_.geoid && model_->degree() > kWmm2005Degree;
}

ModelCircle FieldSource::Circle(double latitude) const {
  return ModelCircle(model_->At(request_.year), request_.altitude,
                     tools::Radians(latitude), request_.year);
}

double FieldSource::QuantityOf(const FieldAndRates& field) const {
  return Pick(request_.quantity, errors_, field);
}

void FieldSource::Row(double latitude, double longitude0, double step,
                      int count, double* values, double* horizontal) const {
  // Heights above the sea vary along the circle: those go point by point.
  const LoadedModel& interval = model_->At(request_.year);
  std::optional<ModelCircle> circle;
  if (!request_.geoid) circle.emplace(Circle(latitude));
  for (int k = 0; k < count; ++k) {
    const double longitude = longitude0 + k * step;
    const FieldAndRates f =
        circle ? circle->Evaluate(tools::Radians(longitude),
                                  request_.quantity.rates)
               : interval.Evaluate(Altitude(latitude, longitude),
                                   tools::Radians(latitude),
                                   tools::Radians(longitude), request_.year,
                                   request_.quantity.rates);
    values[k] = QuantityOf(f);
    horizontal[k] = f.field.H;
  }
}

double FieldSource::Value(double latitude, double longitude) const {
  return QuantityOf(model_->Evaluate(
      Altitude(latitude, longitude), tools::Radians(latitude),
      tools::Radians(longitude), request_.year, request_.quantity.rates));
}

ValueGrid EvaluateGrid(const FieldSource& source, double step,
                       unsigned threads) {
  ValueGrid grid;
  grid.columns = static_cast<int>(std::lround(360.0 / step));
  grid.rows = static_cast<int>(std::lround(180.0 / step)) + 1;
  grid.lonStep = 360.0 / grid.columns;
  grid.latStep = 180.0 / (grid.rows - 1);
  const std::size_t nodes = static_cast<std::size_t>(grid.columns) *
                            static_cast<std::size_t>(grid.rows);
  grid.values.resize(nodes);
  grid.horizontal.resize(nodes);
  // Each row writes only its own nodes; the source is only read.
  tools::ParallelFor(static_cast<std::size_t>(grid.rows), threads,
                     [&grid, &source](std::size_t j) {
                       const std::size_t first = j * grid.columns;
                       source.Row(grid.Latitude(static_cast<int>(j)), -180.0,
                                  grid.lonStep, grid.columns,
                                  &grid.values[first], &grid.horizontal[first]);
                     });
  return grid;
}

}  // namespace norvane::chart
