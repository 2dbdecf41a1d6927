#include "tools/chart/ScreenLines.hpp"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "common/Pi.hpp"

namespace norvane::chart {
namespace {

// Room between a label's text and the lines around it, pixels.
constexpr double kLabelPadding = 3.0;
// A label sits where its line's chord over the label is at least this
// fraction of the line's length there.
constexpr double kStraightness = 0.95;

double Distance(Pixel a, Pixel b) { return std::hypot(b.x - a.x, b.y - a.y); }

double DistanceToSegment(Pixel p, Pixel a, Pixel b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double f =
      length2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
  f = std::clamp(f, 0.0, 1.0);
  return Distance(p, {a.x + f * dx, a.y + f * dy});
}

// The segments of the lines, in square buckets of the image.
class SegmentIndex {
 public:
  SegmentIndex(const std::vector<ScreenLine>& lines, double bucket)
      : bucket_(bucket) {
    for (std::size_t l = 0; l < lines.size(); ++l) {
      const auto& points = lines[l].points;
      for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        const Pixel a = points[k], b = points[k + 1];
        ForBuckets(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x),
                   std::max(a.y, b.y), [&](long long key) {
                     buckets_[key].push_back({l, k});
                   });
      }
    }
  }

  // Calls visit(line, segment) for every segment in the buckets that touch
  // the box; a segment may be visited more than once.
  template <typename Visit>
  void Near(double x0, double y0, double x1, double y1, Visit visit) const {
    ForBuckets(x0, y0, x1, y1, [&](long long key) {
      const auto found = buckets_.find(key);
      if (found == buckets_.end()) return;
      for (const auto& [line, segment] : found->second) visit(line, segment);
    });
  }

 private:
  template <typename Each>
  void ForBuckets(double x0, double y0, double x1, double y1, Each each) const {
    const long long bx0 = static_cast<long long>(std::floor(x0 / bucket_));
    const long long by0 = static_cast<long long>(std::floor(y0 / bucket_));
    const long long bx1 = static_cast<long long>(std::floor(x1 / bucket_));
    const long long by1 = static_cast<long long>(std::floor(y1 / bucket_));
    for (long long by = by0; by <= by1; ++by) {
      for (long long bx = bx0; bx <= bx1; ++bx) each(by * 1000003 + bx);
    }
  }

  double bucket_;
  std::unordered_map<long long,
                     std::vector<std::pair<std::size_t, std::size_t>>>
      buckets_;
};

// A rectangle turned by an angle about its centre.
struct Box {
  Pixel centre;
  double cosine, sine;
  double halfWidth, halfHeight;

  // p in the box's own frame.
  Pixel Local(Pixel p) const {
    const double dx = p.x - centre.x, dy = p.y - centre.y;
    return {dx * cosine + dy * sine, -dx * sine + dy * cosine};
  }
  Pixel Corner(double u, double v) const {
    return {centre.x + u * halfWidth * cosine - v * halfHeight * sine,
            centre.y + u * halfWidth * sine + v * halfHeight * cosine};
  }
  // Whether the segment a-b passes through the box (Liang-Barsky).
  bool Crosses(Pixel a, Pixel b) const {
    const Pixel p = Local(a), q = Local(b);
    double t0 = 0.0, t1 = 1.0;
    const double d[2] = {q.x - p.x, q.y - p.y};
    const double start[2] = {p.x, p.y};
    const double half[2] = {halfWidth, halfHeight};
    for (int axis = 0; axis < 2; ++axis) {
      for (double sign : {-1.0, 1.0}) {
        const double denominator = sign * d[axis];
        const double numerator = half[axis] - sign * start[axis];
        if (denominator == 0.0) {
          if (numerator < 0.0) return false;
        } else if (denominator > 0.0) {
          t1 = std::min(t1, numerator / denominator);
        } else {
          t0 = std::max(t0, numerator / denominator);
        }
      }
    }
    return t0 <= t1;
  }
};

// Whether two boxes overlap: no axis of either separates them.
bool Overlap(const Box& a, const Box& b) {
  for (const Box* frame : {&a, &b}) {
    for (int axis = 0; axis < 2; ++axis) {
      const double ux = axis == 0 ? frame->cosine : -frame->sine;
      const double uy = axis == 0 ? frame->sine : frame->cosine;
      auto extent = [&](const Box& box) {
        return box.halfWidth * std::fabs(ux * box.cosine + uy * box.sine) +
               box.halfHeight * std::fabs(-ux * box.sine + uy * box.cosine);
      };
      const double gap = std::fabs((b.centre.x - a.centre.x) * ux +
                                   (b.centre.y - a.centre.y) * uy);
      if (gap > extent(a) + extent(b)) return false;
    }
  }
  return true;
}

// Arc length at each point of a line.
std::vector<double> ArcLengths(const std::vector<Pixel>& points) {
  std::vector<double> s(points.size(), 0.0);
  for (std::size_t k = 1; k < points.size(); ++k) {
    s[k] = s[k - 1] + Distance(points[k - 1], points[k]);
  }
  return s;
}

// The point at arc length `at`, and the segment it lies on.
Pixel At(const std::vector<Pixel>& points, const std::vector<double>& s,
         double at, std::size_t& segment) {
  segment = static_cast<std::size_t>(std::upper_bound(s.begin(), s.end(), at) -
                                     s.begin());
  segment = std::clamp<std::size_t>(segment, 1, points.size() - 1) - 1;
  const double length = s[segment + 1] - s[segment];
  const double f = length > 0.0 ? (at - s[segment]) / length : 0.0;
  const Pixel a = points[segment], b = points[segment + 1];
  return {a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)};
}

// Hides the stretches of a line shorter than `shortest` pixels left between
// hidden segments, which would look like dashes.
void HideScraps(const std::vector<Pixel>& points, double shortest,
                std::vector<bool>& hidden) {
  const std::size_t segments = hidden.size();
  for (std::size_t first = 0; first < segments;) {
    if (hidden[first]) {
      ++first;
      continue;
    }
    std::size_t last = first;
    double length = 0.0;
    while (last < segments && !hidden[last]) {
      length += Distance(points[last], points[last + 1]);
      ++last;
    }
    const bool bounded = (first > 0) || (last < segments);
    if (bounded && length < shortest) {
      std::fill(hidden.begin() + first, hidden.begin() + last, true);
    }
    first = last;
  }
}

}  // namespace

std::vector<std::vector<GeoPoint>> ClipToLatitudes(
    const std::vector<GeoPoint>& points, double south, double north) {
  std::vector<std::vector<GeoPoint>> pieces;
  auto inside = [&](const GeoPoint& p) {
    return p.lat >= south && p.lat <= north;
  };
  // Where the chord from a to b meets the parallel lat.
  auto meet = [](const GeoPoint& a, const GeoPoint& b, double lat) {
    const double f = (lat - a.lat) / (b.lat - a.lat);
    return GeoPoint{a.lon + f * (b.lon - a.lon), lat};
  };
  for (std::size_t k = 0; k < points.size(); ++k) {
    const GeoPoint& p = points[k];
    const bool in = inside(p);
    if (k == 0) {
      if (in) pieces.push_back({});
    } else {
      const GeoPoint& q = points[k - 1];
      const bool wasIn = inside(q);
      const double exit = p.lat > north ? north : south;
      const double entry = q.lat > north ? north : south;
      if (wasIn && !in) {
        pieces.back().push_back(meet(q, p, exit));
      } else if (!wasIn && in) {
        pieces.push_back({meet(q, p, entry)});
      } else if (!wasIn && !in && entry != exit) {
        pieces.push_back({meet(q, p, entry), meet(q, p, exit)});  // across
      }
    }
    if (in) pieces.back().push_back(p);
  }
  pieces.erase(
      std::remove_if(pieces.begin(), pieces.end(),
                     [](const auto& piece) { return piece.size() < 2; }),
      pieces.end());
  return pieces;
}

std::vector<ScreenLine> ProjectLines(const std::vector<ContourLine>& lines,
                                     const Projection& projection,
                                     double majorEvery) {
  std::vector<ScreenLine> screen;
  for (const ContourLine& line : lines) {
    const double multiple = line.value / majorEvery;
    const bool major = std::fabs(multiple - std::round(multiple)) < 1e-9;
    std::vector<std::vector<GeoPoint>> parts;
    if (projection.Polar()) {
      parts.push_back(line.points);
      if (line.closed) parts.back().push_back(line.points.front());
    } else {
      parts = SplitAtAntimeridian(line);
    }
    for (const auto& part : parts) {
      for (const auto& piece : ClipToLatitudes(part, projection.MinLatitude(),
                                               projection.MaxLatitude())) {
        ScreenLine s{line.value, major, {}};
        s.points.reserve(piece.size());
        for (const GeoPoint& p : piece) {
          s.points.push_back(projection.Project(p.lon, p.lat));
        }
        screen.push_back(std::move(s));
      }
    }
  }
  return screen;
}

std::vector<std::vector<bool>> CrowdedSegments(
    const std::vector<ScreenLine>& lines, double minorSpacing,
    double majorSpacing) {
  const double reach = std::max(minorSpacing, majorSpacing);
  const SegmentIndex index(lines, std::max(reach, 4.0));
  std::vector<std::vector<bool>> hidden(lines.size());
  for (std::size_t l = 0; l < lines.size(); ++l) {
    const auto& points = lines[l].points;
    hidden[l].assign(points.size() > 0 ? points.size() - 1 : 0, false);
    const bool major = lines[l].major;
    if (lines[l].value == 0.0) continue;
    const double spacing = major ? majorSpacing : minorSpacing;
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
      const Pixel m{0.5 * (points[k].x + points[k + 1].x),
                    0.5 * (points[k].y + points[k + 1].y)};
      bool crowded = false;
      index.Near(m.x - spacing, m.y - spacing, m.x + spacing, m.y + spacing,
                 [&](std::size_t other, std::size_t segment) {
                   if (crowded || lines[other].value == lines[l].value ||
                       (major && !lines[other].major)) {
                     return;
                   }
                   const auto& q = lines[other].points;
                   crowded = DistanceToSegment(m, q[segment], q[segment + 1]) <
                             spacing;
                 });
      hidden[l][k] = crowded;
    }
    HideScraps(points, 4.0 * reach, hidden[l]);
  }
  return hidden;
}

std::vector<Label> PlaceLabels(const std::vector<ScreenLine>& lines,
                               const std::vector<std::vector<bool>>& hidden,
                               const std::vector<std::string>& texts,
                               const std::vector<TextSize>& sizes,
                               const std::function<bool(Pixel)>& inside,
                               double spacing) {
  const SegmentIndex index(lines, 24.0);
  std::vector<Label> labels;
  std::vector<Box> boxes;
  std::vector<std::size_t> order(lines.size());
  for (std::size_t l = 0; l < order.size(); ++l) order[l] = l;
  std::stable_partition(order.begin(), order.end(),
                        [&](std::size_t l) { return lines[l].major; });
  // Minor lines get labels further apart, where the major ones leave room.
  for (const std::size_t l : order) {
    const auto& points = lines[l].points;
    if (points.size() < 2) continue;
    const std::vector<double> s = ArcLengths(points);
    const double length = s.back();
    const double step = lines[l].major ? spacing : 1.5 * spacing;
    const double width = sizes[l].width, height = sizes[l].height;
    const double half = 0.5 * width + kLabelPadding;
    // Stagger neighbouring lines' labels.
    const double offset = step * (0.3 + 0.2 * static_cast<double>(l % 3));
    for (double wanted = offset; wanted < length; wanted += step) {
      for (const double shift : {0.0, 0.15, -0.15, 0.3, -0.3}) {
        const double at = wanted + shift * step;
        if (at - half < 0.0 || at + half > length) continue;
        std::size_t first, last, segment;
        const Pixel a = At(points, s, at - half, first);
        const Pixel b = At(points, s, at + half, last);
        const Pixel centre = At(points, s, at, segment);
        bool usable = Distance(a, b) >= kStraightness * 2.0 * half;
        for (std::size_t k = first; usable && k <= last; ++k) {
          usable = !hidden[l][k];
        }
        if (!usable) continue;
        double angle = std::atan2(b.y - a.y, b.x - a.x);
        if (angle > 0.5 * kPi) angle -= kPi;
        if (angle < -0.5 * kPi) angle += kPi;
        const Box box{centre, std::cos(angle), std::sin(angle), half,
                      0.5 * height + kLabelPadding};
        if (!inside(box.Corner(-1, -1)) || !inside(box.Corner(1, -1)) ||
            !inside(box.Corner(1, 1)) || !inside(box.Corner(-1, 1))) {
          continue;
        }
        const bool overlaps =
            std::any_of(boxes.begin(), boxes.end(),
                        [&](const Box& other) { return Overlap(box, other); });
        if (overlaps) continue;
        const double reach = half + box.halfHeight;
        bool crossed = false;
        index.Near(centre.x - reach, centre.y - reach, centre.x + reach,
                   centre.y + reach, [&](std::size_t other, std::size_t k) {
                     if (crossed || other == l || hidden[other][k]) return;
                     crossed = box.Crosses(lines[other].points[k],
                                           lines[other].points[k + 1]);
                   });
        if (crossed) continue;
        boxes.push_back(box);
        labels.push_back(
            {l, centre, angle, width, height, texts[l], at - half, at + half});
        break;
      }
    }
  }
  return labels;
}

}  // namespace norvane::chart
