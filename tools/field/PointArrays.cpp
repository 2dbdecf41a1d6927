#include "tools/field/PointArrays.hpp"

#include <cmath>
#include <cstdint>
#include <optional>

#include "tools/common/Angles.hpp"
#include "tools/common/PiecesInOrder.hpp"
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

// Points to a piece of EvaluatePoints's work.
constexpr std::uint64_t kPointsPerPiece = 256;
// Points to a block of pieces: the results go straight into the arrays, so
// a block is large, and ends only to stop soon after a failure.
constexpr std::uint64_t kArrayBlock = std::uint64_t{1} << 18;

// One point through the tools' rule: refused when strict and outside the
// validity, else counted; then evaluated on the circle if one is given,
// else alone.  False, with the piece's failure set, when it stops.  Points
// of different pieces may be evaluated at once: each writes only its own
// entries and its piece's outcome.
class Evaluator {
 public:
  Evaluator(const TimeVaryingModel& model, const ArrayRequest& request,
            double* const* out)
      : model_(model),
        validity_(model.validity()),
        request_(request),
        out_(out) {}

  bool Point(std::size_t i, double latitude, double longitude, double altitude,
             double year, const ModelCircle* circle,
             ArrayOutcome& piece) const {
    if (const char* problem = CheckPoint(latitude, longitude, altitude, year))
      return Stop(i, problem, piece);
    if (request_.geoid) {
      altitude = request_.geoid->EllipsoidHeight(latitude, longitude, altitude);
      if (std::isnan(altitude)) return Stop(i, Geoid::kNoHeight, piece);
    }
    const Beyond beyond = BoundsBeyond(validity_, year, altitude);
    if (beyond.Any() && request_.strict)
      return Stop(i, RefusalText(validity_, beyond), piece);
    piece.outside.Add(beyond);
    const FieldAndRates r =
        circle ? circle->Evaluate(Radians(longitude), request_.rates)
               : model_.Evaluate(altitude, Radians(latitude),
                                 Radians(longitude), year, request_.rates);
    if (!AllFinite(r.field))
      return Stop(i, "the field is not finite at this point and year", piece);
    Store(r.field, i, out_);
    if (request_.rates) Store(r.rates, i, out_ + kElementColumns);
    return true;
  }

 private:
  static bool Stop(std::size_t i, std::string error, ArrayOutcome& piece) {
    piece.failed = i;
    piece.error = std::move(error);
    return false;
  }

  const TimeVaryingModel& model_;
  Validity validity_;
  ArrayRequest request_;
  double* const* out_;
};

// Adds a piece's outcome, taken in order, to the whole's; false once a
// piece has stopped, since what follows it does not count.
bool Gather(const ArrayOutcome& piece, ArrayOutcome& whole) {
  whole.outside.Add(piece.outside);
  if (piece.failed == ArrayOutcome::kNone) return true;
  whole.failed = piece.failed;
  whole.error = piece.error;
  return false;
}

}  // namespace

ArrayOutcome EvaluatePoints(const TimeVaryingModel& model, std::size_t count,
                            const double* latitude, const double* longitude,
                            const double* altitude, const double* year,
                            const ArrayRequest& request, double* const* out) {
  const Evaluator evaluator(model, request, out);
  ArrayOutcome whole;
  PiecesInOrder<ArrayOutcome>(
      count, kPointsPerPiece, request.threads, kArrayBlock,
      [&](ArrayOutcome& piece, std::uint64_t begin, std::uint64_t end) {
        piece = ArrayOutcome();
        for (std::size_t i = begin; i < end; ++i)
          if (!evaluator.Point(i, latitude[i], longitude[i], altitude[i],
                               year[i], nullptr, piece))
            return;
      },
      [&whole](const ArrayOutcome& piece) { return Gather(piece, whole); });
  return whole;
}

ArrayOutcome EvaluateGridArrays(const TimeVaryingModel& model,
                                const PointGrid& grid, double altitude,
                                double year, const ArrayRequest& request,
                                double* const* out) {
  const Evaluator evaluator(model, request, out);
  const std::uint64_t rows = StepCount(grid.lat0, grid.lat1, grid.dlat);
  const std::uint64_t columns = StepCount(grid.lon0, grid.lon1, grid.dlon);
  const bool circles =
      !request.geoid && std::isfinite(altitude) && std::isfinite(year);
  ArrayOutcome whole;
  PiecesInOrder<ArrayOutcome>(
      rows * columns, GridPieceSize(columns), request.threads, kArrayBlock,
      [&](ArrayOutcome& piece, std::uint64_t begin, std::uint64_t end) {
        piece = ArrayOutcome();
        std::uint64_t row = begin / columns, column = begin % columns;
        double latitude = 0.0;
        std::optional<ModelCircle> circle;
        for (std::uint64_t i = begin; i < end; ++i) {
          if (i == begin || column == 0) {
            latitude = StepValue(grid.lat0, grid.lat1, grid.dlat, row);
            if (circles)
              circle.emplace(model.At(year), altitude, Radians(latitude), year);
          }
          const double longitude =
              StepValue(grid.lon0, grid.lon1, grid.dlon, column);
          if (!evaluator.Point(i, latitude, longitude, altitude, year,
                               circle ? &*circle : nullptr, piece))
            return;
          if (++column == columns) {
            column = 0;
            ++row;
          }
        }
      },
      [&whole](const ArrayOutcome& piece) { return Gather(piece, whole); });
  return whole;
}

}  // namespace norvane::tools
