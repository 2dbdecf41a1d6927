// Lines cut at 180° and to a band of latitudes.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "tools/chart/Contours.hpp"
#include "tools/chart/ScreenLines.hpp"

namespace norvane::chart {
namespace {

using Parts = std::vector<std::vector<GeoPoint>>;

bool Same(const Parts& a, const Parts& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t p = 0; p < a.size(); ++p) {
    if (a[p].size() != b[p].size()) return false;
    for (std::size_t k = 0; k < a[p].size(); ++k) {
      if (std::fabs(a[p][k].lon - b[p][k].lon) > 1e-12 ||
          std::fabs(a[p][k].lat - b[p][k].lat) > 1e-12) {
        return false;
      }
    }
  }
  return true;
}

std::string Show(const Parts& parts) {
  std::string text;
  for (const auto& part : parts) {
    text += "[";
    for (const GeoPoint& p : part) {
      text += "(" + std::to_string(p.lon) + " " + std::to_string(p.lat) + ")";
    }
    text += "] ";
  }
  return text;
}

ContourLine Line(bool closed, std::vector<GeoPoint> points) {
  return {0.0, closed, std::move(points)};
}

TEST(SplitAtAntimeridianTest, CutsWhereLinesCross180) {
  struct Case {
    ContourLine line;
    Parts parts;
  };
  const std::vector<Case> cases = {
      // Not crossing: unchanged.
      {Line(false, {{-10, 0}, {10, 1}}), {{{-10, 0}, {10, 1}}}},
      // A vertex on the meridian, reached from the east half.
      {Line(false, {{179, 0}, {-180, 1}, {-179, 2}}),
       {{{179, 0}, {180, 1}}, {{-180, 1}, {-179, 2}}}},
      // A vertex on the meridian, left towards the east half.
      {Line(false, {{-179, 0}, {-180, 1}, {179, 2}}),
       {{{-179, 0}, {-180, 1}}, {{180, 1}, {179, 2}}}},
      // Between two vertices: cut where the chord meets it.
      {Line(false, {{179, 0}, {-179, 2}}),
       {{{179, 0}, {180, 1}}, {{-180, 1}, {-179, 2}}}},
      // A closed line is closed before it is cut.
      {Line(true, {{179, 0}, {-179, 0}, {-179, 2}, {179, 2}}),
       {{{179, 0}, {180, 0}},
        {{-180, 0}, {-179, 0}, {-179, 2}, {-180, 2}},
        {{180, 2}, {179, 2}, {179, 0}}}},
  };
  for (const auto& c : cases) {
    const Parts parts = SplitAtAntimeridian(c.line);
    EXPECT_TRUE(Same(parts, c.parts)) << Show(parts);
  }
}

TEST(ClipToLatitudesTest, KeepsThePiecesInTheBand) {
  struct Case {
    std::vector<GeoPoint> line;
    Parts pieces;
  };
  const std::vector<Case> cases = {
      {{{0, 0}, {1, 10}}, {{{0, 0}, {1, 10}}}},
      {{{0, 70}, {10, 90}}, {{{0, 70}, {5, 80}}}},
      {{{0, 90}, {10, 70}, {20, 90}}, {{{5, 80}, {10, 70}, {15, 80}}}},
      // Across the whole band between two vertices.
      {{{0, -90}, {18, 90}}, {{{1, -80}, {17, 80}}}},
      // Wholly outside.
      {{{0, 85}, {10, 89}}, {}},
  };
  for (const auto& c : cases) {
    const Parts pieces = ClipToLatitudes(c.line, -80, 80);
    EXPECT_TRUE(Same(pieces, c.pieces)) << Show(pieces);
  }
}

}  // namespace
}  // namespace norvane::chart
