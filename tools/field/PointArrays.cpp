#include "tools/field/PointArrays.hpp"

#include <cmath>
#include <optional>

#include "tools/common/Angles.hpp"
#include "tools/common/Steps.hpp"

namespace norvane::tools {
namespace {

// Why a point cannot be evaluated, or nullptr.
const char* CheckPoint(double latitude, double longitude, double altitude,
                       double year) {
  if (!(latitude >= -90.0 && latitude <= 90.0))
    return "LAT is outside [-90, 90]";
  if (!std::isfinite(longitude)) return "LON is not finite";
  if (!std::isfinite(altitude)) return "ALT is not finite";
  if (!std::isfinite(year)) return "YEAR is not finite";
  return nullptr;
}

void Store(const FieldElements& e, std::size_t i, double* const* columns) {
  columns[0][i] = e.X;
  columns[1][i] = e.Y;
  columns[2][i] = e.Z;
  columns[3][i] = e.F;
  columns[4][i] = e.H;
  columns[5][i] = Degrees(e.D);
  columns[6][i] = Degrees(e.I);
}

// One point through the tools' rule: refused when strict and outside the
// validity, else counted; then evaluated on the circle if one is given,
// else alone.  False, with the outcome's failure set, when it stops.
class Evaluator {
 public:
  Evaluator(const TimeVaryingModel& model, const ArrayRequest& request,
            double* const* out)
      : model_(model),
        validity_(model.validity()),
        request_(request),
        out_(out) {}

  bool Point(std::size_t i, double latitude, double longitude, double altitude,
             double year, const ModelCircle* circle) {
    if (const char* problem = CheckPoint(latitude, longitude, altitude, year))
      return Stop(i, problem);
    if (request_.geoid) {
      altitude = request_.geoid->EllipsoidHeight(latitude, longitude, altitude);
      if (std::isnan(altitude)) return Stop(i, Geoid::kNoHeight);
    }
    const Beyond beyond = BoundsBeyond(validity_, year, altitude);
    if (beyond.Any() && request_.strict)
      return Stop(i, RefusalText(validity_, beyond));
    outcome_.outside.Add(beyond);
    const FieldAndRates r =
        circle ? circle->Evaluate(Radians(longitude), request_.rates)
               : model_.Evaluate(altitude, Radians(latitude),
                                 Radians(longitude), year, request_.rates);
    if (!AllFinite(r.field))
      return Stop(i, "the field is not finite at this point and year");
    Store(r.field, i, out_);
    if (request_.rates) Store(r.rates, i, out_ + kElementColumns);
    return true;
  }

  ArrayOutcome& Outcome() { return outcome_; }

 private:
  bool Stop(std::size_t i, std::string error) {
    outcome_.failed = i;
    outcome_.error = std::move(error);
    return false;
  }

  const TimeVaryingModel& model_;
  Validity validity_;
  ArrayRequest request_;
  double* const* out_;
  ArrayOutcome outcome_;
};

}  // namespace

ArrayOutcome EvaluatePoints(const TimeVaryingModel& model, std::size_t count,
                            const double* latitude, const double* longitude,
                            const double* altitude, const double* year,
                            const ArrayRequest& request, double* const* out) {
  Evaluator evaluator(model, request, out);
  for (std::size_t i = 0; i < count; ++i) {
    if (!evaluator.Point(i, latitude[i], longitude[i], altitude[i], year[i],
                         nullptr))
      break;
  }
  return std::move(evaluator.Outcome());
}

ArrayOutcome EvaluateGridArrays(const TimeVaryingModel& model,
                                const PointGrid& grid, double altitude,
                                double year, const ArrayRequest& request,
                                double* const* out) {
  Evaluator evaluator(model, request, out);
  const std::uint64_t rows = StepCount(grid.lat0, grid.lat1, grid.dlat);
  const std::uint64_t columns = StepCount(grid.lon0, grid.lon1, grid.dlon);
  std::size_t i = 0;
  for (std::uint64_t row = 0; row < rows; ++row) {
    const double latitude = StepValue(grid.lat0, grid.lat1, grid.dlat, row);
    std::optional<ModelCircle> circle;
    if (!request.geoid && std::isfinite(altitude) && std::isfinite(year))
      circle.emplace(model.At(year), altitude, Radians(latitude), year);
    for (std::uint64_t column = 0; column < columns; ++column, ++i) {
      const double longitude =
          StepValue(grid.lon0, grid.lon1, grid.dlon, column);
      if (!evaluator.Point(i, latitude, longitude, altitude, year,
                           circle ? &*circle : nullptr))
        return std::move(evaluator.Outcome());
    }
  }
  return std::move(evaluator.Outcome());
}

}  // namespace norvane::tools
