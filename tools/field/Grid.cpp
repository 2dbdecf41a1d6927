#include "tools/field/Grid.hpp"

#include <algorithm>
#include <cmath>

namespace norvane::tools {
namespace {

// Polar grids start at this latitude, degrees, north and south.
constexpr double kPolarLatitude = 55.0;

// Points to a piece: whole rows of at least the smaller number, parts of a
// row of at most the larger.
constexpr std::uint64_t kMinGridPiece = 256;
constexpr std::uint64_t kMaxGridPiece = 4096;

}  // namespace

std::uint64_t GridPieceSize(std::uint64_t columns) {
  if (columns > kMaxGridPiece) return kMaxGridPiece;
  return columns * std::max<std::uint64_t>(1, kMinGridPiece / columns);
}

std::string CheckGrid(const PointGrid& g) {
  for (const double value : {g.lat0, g.lat1, g.dlat, g.lon0, g.lon1, g.dlon})
    if (!std::isfinite(value)) return "every value must be finite";
  if (!(g.dlat > 0.0) || !(g.dlon > 0.0)) return "the steps must be positive";
  if (g.lat0 < -90.0 || g.lat0 > 90.0 || g.lat1 < -90.0 || g.lat1 > 90.0)
    return "latitudes must lie in [-90, 90]";
  if (g.lat1 < g.lat0) return "LAT1 is below LAT0";
  if (g.lon1 < g.lon0) return "LON1 is below LON0";
  // In doubles first: a tiny step gives counts beyond any integer.
  const double rows = (g.lat1 - g.lat0) / g.dlat + 1.0;
  const double columns = (g.lon1 - g.lon0) / g.dlon + 1.0;
  if (!(rows * columns <= static_cast<double>(kMaxGridPoints)))
    return "the grid has more than " + std::to_string(kMaxGridPoints) +
           " points";
  return {};
}

double GridVariation(double declination, double latitude, double longitude) {
  if (latitude >= kPolarLatitude)
    return std::remainder(declination - longitude, 360.0);
  if (latitude <= -kPolarLatitude)
    return std::remainder(declination + longitude, 360.0);
  return NAN;
}

}  // namespace norvane::tools
