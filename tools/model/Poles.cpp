#include "tools/model/Poles.hpp"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "common/Pi.hpp"
#include "model/Wgs84.hpp"

namespace norvane {
namespace {

constexpr double kDegree = kPi / 180.0;

// A vector in the Earth-fixed frame: x to (0, 0), y to (0, 90E), z north.
struct Vector {
  double x, y, z;
};

Vector operator+(const Vector& a, const Vector& b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vector operator*(double s, const Vector& v) {
  return {s * v.x, s * v.y, s * v.z};
}
double Dot(const Vector& a, const Vector& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

// A point on the unit sphere of geodetic directions, with its local frame:
// the ellipsoid's normal, and north and east along the surface.
struct Place {
  double latitude, longitude;  // radians
  Vector up, north, east;
};

Place PlaceAt(double latitude, double longitude) {
  const double sp = std::sin(latitude), cp = std::cos(latitude);
  const double sl = std::sin(longitude), cl = std::cos(longitude);
  return {latitude,
          longitude,
          {cp * cl, cp * sl, sp},
          {-sp * cl, -sp * sl, cp},
          {-sl, cl, 0.0}};
}

// The place `north`, `east` radians away along a great circle of
// directions.  Latitude +-pi/2 comes out exactly at a pole, where the model
// takes its polar branch.
Place Move(const Place& from, double north, double east) {
  const double d = std::hypot(north, east);
  if (d == 0.0) return from;
  const Vector v = std::cos(d) * from.up +
                   (std::sin(d) / d) * (north * from.north + east * from.east);
  const double horizontal = std::hypot(v.x, v.y);
  if (horizontal == 0.0) return PlaceAt(std::copysign(kPi / 2, v.z), 0.0);
  return PlaceAt(std::atan2(v.z, horizontal), std::atan2(v.y, v.x));
}

// What the search drives to 0: the horizontal field at `at`, in the frame
// of `base`, nT.  It is smooth in `at` everywhere, poles included, and 0
// just where H is.
struct Horizontal {
  double north, east;
};

class Search {
 public:
  Search(const LoadedModel& model, double altitude, double year)
      : model_(model), altitude_(altitude), year_(year) {}

  FieldElements At(const Place& p) const {
    return model_.Evaluate(altitude_, p.latitude, p.longitude, year_, false)
        .field;
  }

  Horizontal In(const Place& base, const Place& at) const {
    const FieldElements f = At(at);
    const Vector h = f.X * at.north + f.Y * at.east;
    return {Dot(h, base.north), Dot(h, base.east)};
  }

 private:
  const LoadedModel& model_;
  double altitude_;
  double year_;
};

constexpr int kMaxIterations = 60;
constexpr int kMaxHalvings = 40;
constexpr double kLongestStep = 0.1;           // radians, about 6 degrees
constexpr double kDifferenceStep = 1e-5;       // radians, about 60 m
constexpr double kConverged = 1e-9 * kDegree;  // radians

// The grid of starts: every 5 degrees, pole to pole.
constexpr int kRows = 37;
constexpr int kColumns = 72;
constexpr std::size_t kMostStarts = 8;
double GridLatitude(int row) { return 90.0 - 5.0 * row; }
double GridLongitude(int column) { return -180.0 + 5.0 * column; }

PolePosition Degrees(const Place& p) {
  double longitude = p.longitude * (180.0 / kPi);
  if (longitude > 180.0) longitude -= 360.0;
  if (longitude < -180.0) longitude += 360.0;
  return {p.latitude * (180.0 / kPi), longitude};
}

}  // namespace

GeomagneticPoles CentredDipolePoles(const DipoleTerms& t) {
  const double b0 = std::sqrt(t.g10 * t.g10 + t.g11 * t.g11 + t.h11 * t.h11);
  const double latitude = 90.0 - std::acos(-t.g10 / b0) / kDegree;
  const double longitude = std::atan2(-t.h11, -t.g11) / kDegree;
  // 4 pi re^3 B0 / mu0 with mu0 = 4 pi 1e-7: re^3 B0 1e7, re in m and B0
  // in T, which is re^3 in km^3 times B0 in nT times 1e7.
  const double moment = wgs84::re * wgs84::re * wgs84::re * b0 * 1e7;
  const double antipode =
      longitude > 0.0 ? longitude - 180.0 : longitude + 180.0;
  return {{latitude, longitude}, {-latitude, antipode}, moment};
}

std::optional<PolePosition> FindDipPoleFrom(const LoadedModel& model,
                                            DipPole which, double altitude,
                                            double year, PolePosition start) {
  const Search search(model, altitude, year);
  Place p = PlaceAt(start.latitude * kDegree, start.longitude * kDegree);
  FieldElements f = search.At(p);
  for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
    if (!std::isfinite(f.H)) return std::nullopt;
    if (f.H == 0.0) break;
    // The Jacobian of the horizontal field in p's frame, by central
    // differences: columns for a step north and a step east.
    const double s = kDifferenceStep;
    const Horizontal n1 = search.In(p, Move(p, s, 0.0));
    const Horizontal n0 = search.In(p, Move(p, -s, 0.0));
    const Horizontal e1 = search.In(p, Move(p, 0.0, s));
    const Horizontal e0 = search.In(p, Move(p, 0.0, -s));
    const double a = (n1.north - n0.north) / (2 * s);
    const double b = (e1.north - e0.north) / (2 * s);
    const double c = (n1.east - n0.east) / (2 * s);
    const double d = (e1.east - e0.east) / (2 * s);
    const double det = a * d - b * c;
    if (!std::isfinite(det) || det == 0.0) return std::nullopt;
    double north = -(d * f.X - b * f.Y) / det;
    double east = -(a * f.Y - c * f.X) / det;
    const double length = std::hypot(north, east);
    if (length > kLongestStep) {
      north *= kLongestStep / length;
      east *= kLongestStep / length;
    }
    // Halve the step until H weakens; near the root rounding may keep it
    // from weakening at all, and a step that small is convergence.
    Place next = Move(p, north, east);
    FieldElements g = search.At(next);
    for (int halving = 0; halving < kMaxHalvings && !(g.H < f.H); ++halving) {
      north *= 0.5;
      east *= 0.5;
      next = Move(p, north, east);
      g = search.At(next);
    }
    const double step = std::hypot(north, east);
    if (!(g.H < f.H) && step >= kConverged) return std::nullopt;
    if (g.H < f.H) {
      p = next;
      f = g;
    }
    if (step < kConverged) break;
    if (iteration + 1 == kMaxIterations) return std::nullopt;
  }
  // A root where the field points the wrong way is the other pole.
  // and where there is no field at all there is no pole.
  if (which == DipPole::kNorth ? !(f.Z > 0.0) : !(f.Z < 0.0))
    return std::nullopt;
  return Degrees(p);
}

std::optional<PolePosition> FindDipPole(const LoadedModel& model, DipPole which,
                                        double altitude, double year) {
  // The inclination on a coarse grid, down positive for the north pole and
  // up for the south; each circle of latitude costs about one evaluation,
  // each of its longitudes much less.
  const double sign = which == DipPole::kNorth ? 1.0 : -1.0;
  double dip[kRows][kColumns];
  for (int row = 0; row < kRows; ++row) {
    const ModelCircle circle(model, altitude, GridLatitude(row) * kDegree,
                             year);
    for (int column = 0; column < kColumns; ++column)
      dip[row][column] =
          sign *
          circle.Evaluate(GridLongitude(column) * kDegree, false).field.I;
  }
  // Starts: the grid's local maxima of the dip, steepest first.  A field
  // far from a dipole's has several, and some lead to a weak H that is not
  // 0; the poles themselves are one point each.
  std::vector<std::pair<double, PolePosition>> starts;
  for (int row = 0; row < kRows; ++row) {
    const bool pole = row == 0 || row == kRows - 1;
    for (int column = 0; column < (pole ? 1 : kColumns); ++column) {
      bool highest = true;
      for (int r = std::max(row - 1, 0); r <= std::min(row + 1, kRows - 1);
           ++r) {
        for (int c = column - 1; c <= column + 1; ++c)
          highest =
              highest && dip[r][(c + kColumns) % kColumns] <= dip[row][column];
      }
      if (highest && std::isfinite(dip[row][column]))
        starts.push_back(
            {dip[row][column], {GridLatitude(row), GridLongitude(column)}});
    }
  }
  std::sort(starts.begin(), starts.end(),
            [](const auto& a, const auto& b) { return a.first > b.first; });
  if (starts.size() > kMostStarts) starts.resize(kMostStarts);
  for (const auto& start : starts) {
    if (auto pole = FindDipPoleFrom(model, which, altitude, year, start.second))
      return pole;
  }
  return std::nullopt;
}

}  // namespace norvane
