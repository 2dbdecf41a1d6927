#include "tools/chart/Contours.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <utility>

#include "tools/chart/MeridianArc.hpp"
#include "tools/common/Angles.hpp"
#include "tools/common/ParallelFor.hpp"

namespace norvane::chart {
namespace {

// D turns by at most this much between the samples along an edge, so that
// the nearest way round between two samples is the way the field turns.
constexpr double kMaxTurn = 45.0;
// An edge is halved at most this often while looking for D's crossings.
constexpr int kMaxHalvings = 16;
// A vertex's value is its level's to within this fraction of the interval.
constexpr double kTolerance = 1e-6;
constexpr int kMaxIterations = 100;

// An angle difference brought into [-180, 180).
double Wrap(double degrees) {
  return degrees - 360.0 * std::floor((degrees + 180.0) / 360.0);
}

struct Crossing {
  double t;   // where along its edge, 0 to 1
  int level;  // the level is level * interval
  GeoPoint point;
};

// The quantity along one edge, t from 0 to 1: `value` to search, which
// may be interpolated; then `coarse`, a cruder interpolation whose
// difference from `value` gauges value's error (empty when value is the
// model's own); and `exact`, the model's own.
struct EdgeValues {
  int edge;
  std::function<double(double)> value;
  std::function<double(double)> coarse;
  std::function<double(double)> exact;
};

// The crossings found on some edges, edge by edge: counts[k] of them for
// the k-th edge, in order along it.
struct EdgeCrossings {
  std::vector<Crossing> crossings;
  std::vector<int> counts;
};

// A band of the grid: the horizontal edges of row j and the vertical ones
// from row j to row j + 1.
struct BandCrossings {
  EdgeCrossings horizontal;
  EdgeCrossings vertical;
};

class Tracer {
 public:
  Tracer(const FieldSource& source, const ValueGrid& grid, double interval,
         double lowest, double highest)
      : source_(source),
        grid_(grid),
        interval_(interval),
        lowest_(lowest),
        highest_(highest),
        cyclic_(IsCyclic(source.Request().quantity)),
        circles_(source.CirclesPay()),
        horizontalEdges_(grid.columns * grid.rows) {}

  std::vector<ContourLine> Trace(unsigned threads) {
    FindCrossings(threads);
    links_.assign(crossings_.size(), {-1, -1});
    for (int j = 0; j + 1 < grid_.rows; ++j) {
      for (int i = 0; i < grid_.columns; ++i) JoinInCell(i, j);
    }
    return Chain();
  }

 private:
  // Edges: horizontal (i, j) from node (i, j) east to (i + 1, j); vertical
  // (i, j) from node (i, j) north to (i, j + 1).
  int Horizontal(int i, int j) const { return j * grid_.columns + i; }
  int Vertical(int i, int j) const {
    return horizontalEdges_ + j * grid_.columns + i;
  }

  GeoPoint Along(int edge, double t) const {
    if (edge < horizontalEdges_) {
      const int i = edge % grid_.columns, j = edge / grid_.columns;
      double lon = grid_.Longitude(i) + t * grid_.lonStep;
      if (lon >= 180.0) lon -= 360.0;
      return {lon, grid_.Latitude(j)};
    }
    const int i = (edge - horizontalEdges_) % grid_.columns;
    const int j = (edge - horizontalEdges_) / grid_.columns;
    const double lat0 = grid_.Latitude(j), lat1 = grid_.Latitude(j + 1);
    return {grid_.Longitude(i), t == 1.0 ? lat1 : lat0 + t * (lat1 - lat0)};
  }

  double ValueAlong(int edge, double t) const {
    const GeoPoint p = Along(edge, t);
    return source_.Value(p.lat, p.lon);
  }

  // Signed distance of a value from a level, the short way round for D.
  double Above(double value, double level) const {
    return cyclic_ ? Wrap(value - level) : value - level;
  }

  // Each band's crossings are found on their own, in any order and on any
  // thread, and then put together in the order of the edges, so that the
  // result is the same for any number of threads.
  void FindCrossings(unsigned threads) {
    std::vector<BandCrossings> bands(grid_.rows);
    tools::ParallelFor(bands.size(), threads, [this, &bands](std::size_t j) {
      bands[j] = FindInBand(static_cast<int>(j));
    });
    offsets_.clear();
    for (const bool vertical : {false, true}) {
      for (const BandCrossings& band : bands) {
        const EdgeCrossings& found = vertical ? band.vertical : band.horizontal;
        auto next = found.crossings.begin();
        for (const int count : found.counts) {
          offsets_.push_back(static_cast<int>(crossings_.size()));
          crossings_.insert(crossings_.end(), next, next + count);
          next += count;
        }
      }
    }
    offsets_.push_back(static_cast<int>(crossings_.size()));
  }

  // The model's own values along an edge, and nothing else.
  EdgeValues ByPoints(int edge) const {
    const auto exact = [this, edge](double t) { return ValueAlong(edge, t); };
    return {edge, exact, nullptr, exact};
  }

  BandCrossings FindInBand(int j) const {
    BandCrossings band;
    const bool rates = source_.Request().quantity.rates;
    // Along a row only the longitude changes: the row's circle gives the
    // model's values at a fraction of a point's cost.
    std::optional<ModelCircle> row;
    for (int i = 0; i < grid_.columns; ++i) {
      const int edge = Horizontal(i, j);
      EdgeValues values = ByPoints(edge);
      if (circles_) {
        values.value = [this, edge, j, rates, &row](double t) {
          if (!row) row.emplace(source_.Circle(grid_.Latitude(j)));
          return source_.QuantityOf(
              row->Evaluate(tools::Radians(Along(edge, t).lon), rates));
        };
      }
      FindOnEdge(values, i, j, (i + 1) % grid_.columns, j, band.horizontal);
    }
    if (j + 1 == grid_.rows) return band;
    // Along a column, interpolated from circles across the band.
    std::optional<BandCircles> circles;
    for (int i = 0; i < grid_.columns; ++i) {
      const int edge = Vertical(i, j);
      EdgeValues values = ByPoints(edge);
      std::optional<MeridianArc> arc;
      const auto interpolated = [this, i, j, &circles, &arc](double t,
                                                             bool coarse) {
        if (!circles) {
          circles.emplace(source_, grid_.Latitude(j), grid_.Latitude(j + 1));
        }
        if (!arc) arc = circles->Arc(grid_.Longitude(i));
        return source_.QuantityOf(arc->At(t, coarse));
      };
      if (circles_) {
        values.value = [&interpolated](double t) {
          return interpolated(t, false);
        };
        values.coarse = [&interpolated](double t) {
          return interpolated(t, true);
        };
      }
      FindOnEdge(values, i, j, i, j + 1, band.vertical);
    }
    return band;
  }

  // The crossings of the edge from node (i, j) to node (i1, j1), in order.
  void FindOnEdge(const EdgeValues& values, int i, int j, int i1, int j1,
                  EdgeCrossings& found) const {
    const std::size_t first = found.crossings.size();
    Sample(values, 0.0, grid_.Value(i, j), 1.0, grid_.Value(i1, j1), 0,
           found.crossings);
    std::sort(found.crossings.begin() + first, found.crossings.end(),
              [](const Crossing& a, const Crossing& b) { return a.t < b.t; });
    found.counts.push_back(static_cast<int>(found.crossings.size() - first));
  }

  // The crossings between two samples of an edge.
  void Sample(const EdgeValues& values, double t0, double v0, double t1,
              double v1, int halvings, std::vector<Crossing>& found) const {
    if (cyclic_ && std::fabs(Wrap(v1 - v0)) > kMaxTurn &&
        halvings < kMaxHalvings) {
      const double tm = 0.5 * (t0 + t1);
      const double vm = values.value(tm);
      Sample(values, t0, v0, tm, vm, halvings + 1, found);
      Sample(values, tm, vm, t1, v1, halvings + 1, found);
      return;
    }
    const double u0 = v0, u1 = cyclic_ ? v0 + Wrap(v1 - v0) : v1;
    if (!(u0 != u1) || !std::isfinite(u0) || !std::isfinite(u1)) return;
    const double lo = std::min(u0, u1), hi = std::max(u0, u1);
    // A level L is crossed where the samples lie on either side of it: one
    // at or above, one below.  For D, L may be met as L - 360 or L + 360.
    for (int turn = cyclic_ ? -1 : 0; turn <= (cyclic_ ? 1 : 0); ++turn) {
      const double shift = 360.0 * turn;
      // Levels between the samples, but only about those traced: the
      // samples may lie far beyond them, as the change of D does near a
      // magnetic pole.
      const double bottom = cyclic_ ? -180.0 : lowest_;
      const double top = cyclic_ ? 180.0 : highest_;
      const double first = std::max(std::floor((lo - shift) / interval_) + 1.0,
                                    std::floor(bottom / interval_));
      const double last = std::min(std::floor((hi - shift) / interval_),
                                   std::floor(top / interval_) + 1.0);
      for (long k = static_cast<long>(first); k <= static_cast<long>(last);
           ++k) {
        const double level = k * interval_;
        if (cyclic_ ? !(level > -180.0 && level <= 180.0)
                    : !(level >= lowest_ && level <= highest_)) {
          continue;
        }
        const double t = Refine(values, level, t0, u0 - (level + shift), t1,
                                u1 - (level + shift));
        found.push_back({t, static_cast<int>(k), Along(values.edge, t)});
      }
    }
  }

  // Where along the edge the quantity is the level, between t0 and t1,
  // whose distances from it g0 and g1 lie on either side.  An interpolated
  // vertex is kept where the interpolation holds the level to within the
  // tolerance by a wide margin; else the model itself decides, from there.
  double Refine(const EdgeValues& values, double level, double t0, double g0,
                double t1, double g1) const {
    const double tolerance = kTolerance * interval_;
    if (!values.coarse)
      return Solve(values.value, level, t0, g0, t1, g1, tolerance);
    const double t =
        Solve(values.value, level, t0, g0, t1, g1, 0.5 * tolerance);
    const double v = values.value(t);
    if (std::fabs(Above(v, level)) <= 0.5 * tolerance &&
        std::fabs(Above(v, values.coarse(t))) <= 0.5 * tolerance) {
      return t;
    }
    const double g = Above(values.exact(t), level);
    if (std::fabs(g) <= tolerance) return t;
    if ((g >= 0.0) == (g1 >= 0.0))
      return Solve(values.exact, level, t0, g0, t, g, tolerance);
    return Solve(values.exact, level, t, g, t1, g1, tolerance);
  }

  // The Illinois method on `value`, to within `tolerance` of the level.
  double Solve(const std::function<double(double)>& value, double level,
               double t0, double g0, double t1, double g1,
               double tolerance) const {
    if (std::fabs(g0) <= tolerance) return t0;
    if (std::fabs(g1) <= tolerance) return t1;
    int kept = 0;  // which end was kept last: -1 for t0, 1 for t1
    double best = t0, bestDistance = std::fabs(g0);
    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
      double t = (t0 * g1 - t1 * g0) / (g1 - g0);
      if (!(t > t0 && t < t1)) t = 0.5 * (t0 + t1);
      const double g = Above(value(t), level);
      if (std::fabs(g) < bestDistance) best = t, bestDistance = std::fabs(g);
      if (std::fabs(g) <= tolerance || t1 - t0 <= 1e-15) break;
      if ((g >= 0.0) == (g1 >= 0.0)) {
        t1 = t, g1 = g;
        if (kept == -1) g0 *= 0.5;
        kept = -1;
      } else {
        t0 = t, g0 = g;
        if (kept == 1) g1 *= 0.5;
        kept = 1;
      }
    }
    return best;
  }

  // Joins the crossings of each level on the border of cell (i, j).
  void JoinInCell(int i, int j) {
    const int east = (i + 1) % grid_.columns;
    struct Side {
      int edge;
      bool reversed;
    };
    const Side sides[4] = {{Horizontal(i, j), false},
                           {Vertical(east, j), false},
                           {Horizontal(i, j + 1), true},
                           {Vertical(i, j), true}};
    border_.clear();
    for (const Side& side : sides) {
      const int begin = offsets_[side.edge], end = offsets_[side.edge + 1];
      for (int k = 0; k < end - begin; ++k) {
        border_.push_back(side.reversed ? end - 1 - k : begin + k);
      }
    }
    if (border_.empty()) return;
    std::stable_sort(border_.begin(), border_.end(), [this](int a, int b) {
      return crossings_[a].level < crossings_[b].level;
    });
    double centre = NAN;
    for (std::size_t first = 0; first < border_.size();) {
      std::size_t last = first;
      const int level = crossings_[border_[first]].level;
      while (last < border_.size() && crossings_[border_[last]].level == level)
        ++last;
      const std::size_t n = last - first;
      if (n == 2) {
        Link(border_[first], border_[first + 1]);
      } else if (n >= 4 && n % 2 == 0) {
        // Around the border the crossings alternate between arcs above and
        // below the level; the corner (i, j) lies on the arc before the
        // first.  The centre tells which arcs meet inside the cell.
        if (std::isnan(centre)) {
          centre = source_.Value(grid_.Latitude(j) + 0.5 * grid_.latStep,
                                 grid_.Longitude(i) + 0.5 * grid_.lonStep);
        }
        const double value = level * interval_;
        const bool cornerAbove = Above(grid_.Value(i, j), value) >= 0.0;
        const bool centreAbove = Above(centre, value) >= 0.0;
        const std::size_t skip = cornerAbove == centreAbove ? 0 : 1;
        for (std::size_t k = 0; k < n; k += 2) {
          Link(border_[first + (k + skip) % n],
               border_[first + (k + skip + 1) % n]);
        }
      }
      first = last;
    }
  }

  void Link(int a, int b) {
    if (links_[a].second != -1 || links_[b].second != -1) return;
    (links_[a].first == -1 ? links_[a].first : links_[a].second) = b;
    (links_[b].first == -1 ? links_[b].first : links_[b].second) = a;
  }

  std::vector<ContourLine> Chain() {
    std::vector<ContourLine> lines;
    std::vector<bool> visited(crossings_.size(), false);
    auto walk = [&](int start, bool closed) {
      ContourLine line{crossings_[start].level * interval_, closed, {}};
      int previous = -1, current = start;
      while (current != -1 && !visited[current]) {
        visited[current] = true;
        line.points.push_back(crossings_[current].point);
        const auto [a, b] = links_[current];
        const int next = a != previous ? a : b;
        previous = current;
        current = next;
      }
      if (line.points.size() >= 2) lines.push_back(std::move(line));
    };
    const int count = static_cast<int>(crossings_.size());
    for (int c = 0; c < count; ++c) {
      if (!visited[c] && links_[c].first != -1 && links_[c].second == -1)
        walk(c, false);
    }
    for (int c = 0; c < count; ++c) {
      if (!visited[c] && links_[c].second != -1) walk(c, true);
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const ContourLine& a, const ContourLine& b) {
                       return a.value < b.value;
                     });
    return lines;
  }

  const FieldSource& source_;
  const ValueGrid& grid_;
  const double interval_;
  const double lowest_, highest_;
  const bool cyclic_;
  const bool circles_;  // the model's points are dear: refine along circles
  const int horizontalEdges_;
  std::vector<Crossing> crossings_;
  std::vector<int>
      offsets_;  // edge e's crossings: [offsets_[e], offsets_[e+1])
  std::vector<std::pair<int, int>> links_;  // each crossing's neighbours
  std::vector<int> border_;                 // scratch: one cell's crossings
};

}  // namespace

std::vector<ContourLine> TraceContours(const FieldSource& source,
                                       const ValueGrid& grid, double interval,
                                       double lowest, double highest,
                                       unsigned threads) {
  return Tracer(source, grid, interval, lowest, highest).Trace(threads);
}

void ValueRange(const ValueGrid& grid, bool all, double& lowest,
                double& highest) {
  const double share = all ? 0.0 : 0.001;
  // Each node stands for the area about it, in proportion to the cosine of
  // its latitude (a pole's row for half a step's cap).
  std::vector<std::pair<double, double>> weighted;
  weighted.reserve(grid.values.size());
  double total = 0.0;
  for (int j = 0; j < grid.rows; ++j) {
    const double lat = tools::Radians(grid.Latitude(j));
    const double weight =
        std::max(std::cos(lat), 0.125 * tools::Radians(grid.latStep));
    for (int i = 0; i < grid.columns; ++i) {
      const double v = grid.Value(i, j);
      if (!std::isfinite(v)) continue;
      weighted.push_back({v, weight});
      total += weight;
    }
  }
  lowest = highest = 0.0;
  if (weighted.empty()) return;
  std::sort(weighted.begin(), weighted.end());
  double sum = 0.0;
  lowest = weighted.front().first;
  highest = weighted.back().first;
  bool foundLowest = false;
  for (const auto& [value, weight] : weighted) {
    sum += weight;
    if (!foundLowest && sum >= share * total)
      lowest = value, foundLowest = true;
    if (sum >= (1.0 - share) * total) {
      highest = value;
      break;
    }
  }
}

std::vector<std::vector<GeoPoint>> SplitAtAntimeridian(
    const ContourLine& line) {
  std::vector<GeoPoint> points = line.points;
  if (line.closed && !points.empty()) points.push_back(points.front());
  std::vector<std::vector<GeoPoint>> parts(1);
  for (std::size_t k = 0; k < points.size(); ++k) {
    const GeoPoint p = points[k];
    if (k > 0 && std::fabs(p.lon - parts.back().back().lon) > 180.0) {
      GeoPoint& q = parts.back().back();
      const double side = q.lon > 0.0 ? 180.0 : -180.0;  // q's edge of the map
      if (std::fabs(q.lon) == 180.0) {
        // q lies on the meridian: it starts the next part on p's side.
        const GeoPoint start{-q.lon, q.lat};
        q.lon = side;
        parts.push_back({start});
      } else if (std::fabs(p.lon) == 180.0) {
        parts.back().push_back({side, p.lat});
        parts.push_back({});
        points[k].lon = -side;
      } else {
        // Between two vertices off the meridian: cut where the chord meets it.
        const double run = p.lon - q.lon + (side > 0 ? 360.0 : -360.0);
        const double f = (side - q.lon) / run;
        const double lat = q.lat + f * (p.lat - q.lat);
        parts.back().push_back({side, lat});
        parts.push_back({{-side, lat}});
      }
    }
    parts.back().push_back(points[k]);
  }
  parts.erase(std::remove_if(parts.begin(), parts.end(),
                             [](const auto& part) { return part.size() < 2; }),
              parts.end());
  return parts;
}

}  // namespace norvane::chart
