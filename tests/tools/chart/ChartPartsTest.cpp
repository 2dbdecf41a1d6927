// norvane-chart's parts that a wrong sign or a slip of one would break
// unseen: the projections' orientation, the date in the title, sizes, the
// weak-field zones, thinning and the files.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/tools/chart/ChartCommand.hpp"
#include "tools/chart/ChartImage.hpp"
#include "tools/chart/ChartRun.hpp"
#include "tools/chart/PoleMarks.hpp"
#include "tools/chart/Projection.hpp"
#include "tools/chart/ScreenLines.hpp"
#include "tools/chart/WeakField.hpp"

namespace norvane::chart {
namespace {

TEST(ProjectionTest, PutsPlacesWhereMapsHaveThem) {
  // A 400 x 400 frame at (100, 50).
  const struct {
    ProjectionKind kind;
    double lon, lat;
    double x, y;
  } cases[] = {
      // Plate carrée: 400 x 200 map, centred vertically.
      {ProjectionKind::kPlateCarree, -180, 90, 100, 150},
      {ProjectionKind::kPlateCarree, 180, -90, 500, 350},
      {ProjectionKind::kPlateCarree, 90, 45, 400, 200},
      // Mercator: 80 degrees is the top edge; the equator the middle.
      {ProjectionKind::kMercator, 0, 0, 300, 250},
      {ProjectionKind::kMercator, -180, 80, 100,
       250 - 200 * std::log(std::tan(M_PI / 4 + 40 * M_PI / 180)) / M_PI},
      // Polar: the pole in the middle, 55 degrees on the circle, 0 E at the
      // bottom of the north map and the top of the south one, 90 E to the
      // right of both.
      {ProjectionKind::kNorthPolar, 0, 90, 300, 250},
      {ProjectionKind::kNorthPolar, 0, 55, 300, 450},
      {ProjectionKind::kNorthPolar, 90, 55, 500, 250},
      {ProjectionKind::kNorthPolar, 180, 55, 300, 50},
      {ProjectionKind::kSouthPolar, 0, -55, 300, 50},
      {ProjectionKind::kSouthPolar, 90, -55, 500, 250},
      {ProjectionKind::kSouthPolar, -90, -90, 300, 250},
  };
  for (const auto& c : cases) {
    const Projection projection(c.kind, 100, 50, 400, 400);
    const Pixel p = projection.Project(c.lon, c.lat);
    EXPECT_NEAR(p.x, c.x, 1e-9) << ProjectionName(c.kind) << " " << c.lon;
    EXPECT_NEAR(p.y, c.y, 1e-9) << ProjectionName(c.kind) << " " << c.lat;
  }
}

TEST(ChartTitleTest, NamesTheQuantityUnitModelAndDate) {
  const struct {
    Quantity quantity;
    double year;
    const char* title;
  } cases[] = {
      {{Element::kD, false},
       2006.0,
       "Declination D (\u00b0), WMM-2005, 2006-01-01"},
      // Day 182 of 365 is the 2nd of July; of 366 the 1st.
      {{Element::kF, false},
       2006.0 + 182.0 / 365.0,
       "Total intensity F (nT), WMM-2005, 2006-07-02"},
      {{Element::kI, true},
       2008.0 + 182.0 / 366.0,
       "Annual change of inclination, dI ('/yr), WMM-2005, 2008-07-01"},
      {{Element::kZ, true},
       2009.0 + 364.0 / 365.0,
       "Annual change of vertical component, dZ (nT/yr), WMM-2005, "
       "2009-12-31"},
      {{Element::kH, false},
       2000.0 + 59.0 / 366.0,
       "Horizontal intensity H (nT), WMM-2005, 2000-02-29"},
  };
  for (const auto& c : cases) {
    ChartContent content{};
    content.quantity = c.quantity;
    content.model = "WMM-2005";
    content.year = c.year;
    EXPECT_EQ(ChartTitle(content), c.title);
  }
}

// A path's years are written where they do not crowd: the first, each one
// far enough from the last written, and the last in place of its crowded
// neighbour.
TEST(PathLabelsTest, LabelsYearsThatDoNotCrowd) {
  const struct {
    std::vector<double> x;  // along a line, pixels
    std::vector<std::size_t> labels;
  } cases[] = {
      {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {0, 3, 6, 10}},
      {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 3, 6, 9}},
      {{0, 0.5, 1, 1.5, 5, 10}, {0, 4, 5}},
      {{0, 1, 2}, {0}},
      {{0, 1, 2, 3, 4}, {0, 4}},
      {{7}, {0}},
      {{}, {}},
  };
  for (const auto& c : cases) {
    std::vector<Pixel> points;
    for (const double x : c.x) points.push_back({x, 2 * x});
    const double spacing = 3 * std::sqrt(5.0);
    EXPECT_EQ(PathLabels(points, spacing), c.labels) << c.x.size();
  }
  EXPECT_EQ(YearLabel(1990.0), "1990");
  EXPECT_EQ(YearLabel(2027.5), "2027.5");
}

// The compiled-in model's dip poles are marked, north and south.
TEST(DipPoleMarksTest, MarksBothPoles) {
  const std::vector<PoleMark> marks =
      DipPoleMarks(TimeVaryingModel(), 2006.0, 0.0);
  ASSERT_EQ(marks.size(), 2u);
  EXPECT_EQ(marks[0].label, "N dip pole");
  EXPECT_GT(marks[0].at.lat, 80.0);
  EXPECT_EQ(marks[1].label, "S dip pole");
  EXPECT_LT(marks[1].at.lat, -60.0);
}

TEST(ParseSizeTest, ReadsWidthByHeight) {
  const struct {
    const char* text;
    bool ok;
    int width, height;
  } cases[] = {{"400x300", true, 400, 300},   {"16x16384", true, 16, 16384},
               {"15x300", false, 0, 0},       {"400x16385", false, 0, 0},
               {"400X300", false, 0, 0},      {"400x", false, 0, 0},
               {"x300", false, 0, 0},         {"+400x300", false, 0, 0},
               {"400x300 ", false, 0, 0},     {"4e2x300", false, 0, 0},
               {"99999999999x1", false, 0, 0}};
  for (const auto& c : cases) {
    int width = 0, height = 0;
    EXPECT_EQ(ParseSize(c.text, width, height), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(width, c.width);
      EXPECT_EQ(height, c.height);
    }
  }
}

// H that falls linearly from 4000 nT at 90 S to 0 at 90 N, alike at every
// longitude: below a threshold of 4000 t lies the northern share 1 - t of
// the grid.
ValueGrid LinearGrid() {
  ValueGrid grid;
  grid.columns = 36;
  grid.rows = 19;
  grid.lonStep = 10.0;
  grid.latStep = 10.0;
  for (int j = 0; j < grid.rows; ++j) {
    for (int i = 0; i < grid.columns; ++i) {
      grid.values.push_back(0.0);
      grid.horizontal.push_back(4000.0 * (90.0 - grid.Latitude(j)) / 180.0);
    }
  }
  return grid;
}

TEST(WeakFieldCellsTest, CoverTheWeakShareAllTheSameWayRound) {
  const ValueGrid grid = LinearGrid();
  for (const double share : {0.0, 0.25, 0.5, 0.95, 1.0}) {
    double area = 0.0;
    for (const auto& polygon : WeakFieldCells(grid, 4000.0 * share + 1e-9)) {
      double signedArea = 0.0;  // degrees squared, anticlockwise positive
      for (std::size_t k = 0; k < polygon.size(); ++k) {
        const GeoPoint& a = polygon[k];
        const GeoPoint& b = polygon[(k + 1) % polygon.size()];
        signedArea += 0.5 * (a.lon * b.lat - b.lon * a.lat);
      }
      EXPECT_GT(signedArea, 0.0);
      area += signedArea;
    }
    EXPECT_NEAR(area, share * 360.0 * 180.0, 1e-3) << share;
  }
}

TEST(CrowdedSegmentsTest, HidesOnlyLinesTooCloseToAnotherLevel) {
  // Two straight lines `gap` pixels apart, 200 pixels long.
  auto pair = [](double gap, double first, bool major1, double second,
                 bool major2) {
    std::vector<ScreenLine> lines(2);
    lines[0] = {first, major1, {}};
    lines[1] = {second, major2, {}};
    for (int x = 0; x <= 200; x += 10) {
      lines[0].points.push_back({double(x), 0.0});
      lines[1].points.push_back({double(x), gap});
    }
    return lines;
  };
  const struct {
    double gap;
    double first;
    bool major1;
    double second;
    bool major2;
    bool hidden1, hidden2;
  } cases[] = {
      {10, 2, false, 4, false, false, false},  // apart
      {3, 2, false, 4, false, true, true},     // two minors close
      {3, 2, false, 10, true, true, false},    // a minor by a major
      {1, 10, true, 20, true, true, true},     // majors closer still
      {3, 10, true, 20, true, false, false},   // majors close, but not so
      {1, 0, true, 2, false, false, true},     // zero stays
      {3, 2, false, 2, false, false, false},   // the same level
  };
  for (const auto& c : cases) {
    const auto hidden = CrowdedSegments(
        pair(c.gap, c.first, c.major1, c.second, c.major2), 4.0, 2.0);
    for (int line = 0; line < 2; ++line) {
      const bool expected = line == 0 ? c.hidden1 : c.hidden2;
      for (bool segment : hidden[line]) {
        EXPECT_EQ(segment, expected) << "gap " << c.gap << " line " << line;
      }
    }
  }
}

}  // namespace
}  // namespace norvane::chart
