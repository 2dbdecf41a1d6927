// The array evaluation behind the Python module: where it stops, what it
// counts, and that its columns are the point evaluation's in the tools'
// units.  Its numbers against norvane-field's are the Python tests' part.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/model/TimeVaryingModel.hpp"
#include "tools/field/PointArrays.hpp"

namespace norvane::tools {
namespace {

constexpr double kDegree = 0.017453292519943295;  // pi / 180, radians

struct Columns {
  explicit Columns(std::size_t count)
      : values(2 * kElementColumns * count, NAN) {
    for (int k = 0; k < 2 * kElementColumns; ++k)
      pointers.push_back(values.data() + k * count);
  }
  std::vector<double> values;
  std::vector<double*> pointers;
};

TEST(PointArraysTest, FillsEveryColumnInTheToolsUnits) {
  const TimeVaryingModel model;
  const double lat[] = {45.0, -90.0}, lon[] = {10.0, 33.0}, alt[] = {2.0, 0.0},
               year[] = {2007.0, 2009.5};
  Columns out(2);
  ArrayRequest request;
  request.rates = true;
  const ArrayOutcome outcome = EvaluatePoints(model, 2, lat, lon, alt, year,
                                              request, out.pointers.data());
  EXPECT_EQ(outcome.failed, ArrayOutcome::kNone);
  EXPECT_EQ(outcome.outside.points, 0u);
  for (std::size_t i = 0; i < 2; ++i) {
    const FieldAndRates r = model.Evaluate(alt[i], lat[i] * kDegree,
                                           lon[i] * kDegree, year[i], true);
    const double expected[] = {
        r.field.X,           r.field.Y,          r.field.Z,
        r.field.F,           r.field.H,          r.field.D / kDegree,
        r.field.I / kDegree, r.rates.X,          r.rates.Y,
        r.rates.Z,           r.rates.F,          r.rates.H,
        r.rates.D / kDegree, r.rates.I / kDegree};
    for (int k = 0; k < 2 * kElementColumns; ++k)
      EXPECT_NEAR(out.pointers[k][i], expected[k],
                  1e-12 * (1.0 + std::fabs(expected[k])))
          << "column " << k << " point " << i;
  }
}

TEST(PointArraysTest, StopsAtTheFirstBadPointAndCountsTheOutside) {
  const TimeVaryingModel model;
  const struct {
    double lat, alt, year;
    bool strict;
    std::size_t failed;
    const char* error;
    unsigned long long outside;
  } cases[] = {
      {91.0, 0.0, 2006.0, false, 1, "LAT is outside [-90, 90]", 0},
      {NAN, 0.0, 2006.0, false, 1, "LAT is outside [-90, 90]", 0},
      {0.0, INFINITY, 2006.0, false, 1, "ALT is not finite", 0},
      {0.0, 0.0, NAN, false, 1, "YEAR is not finite", 0},
      {0.0, 900.0, 2011.0, false, ArrayOutcome::kNone, "", 1},
      {0.0, 900.0, 2011.0, true, 1,
       "the point lies outside the model's validity: after 2010.0, above "
       "850 km",
       0},
  };
  for (const auto& c : cases) {
    // The second of three points is the one under test.
    const double lat[] = {0.0, c.lat, 0.0}, lon[] = {0.0, 0.0, 0.0},
                 alt[] = {0.0, c.alt, 0.0}, year[] = {2006.0, c.year, 2006.0};
    Columns out(3);
    ArrayRequest request;
    request.strict = c.strict;
    const ArrayOutcome outcome = EvaluatePoints(model, 3, lat, lon, alt, year,
                                                request, out.pointers.data());
    EXPECT_EQ(outcome.failed, c.failed) << c.error;
    EXPECT_EQ(outcome.error, c.error);
    EXPECT_EQ(outcome.outside.points, c.outside) << c.error;
    EXPECT_FALSE(std::isnan(out.pointers[0][0])) << c.error;
  }
}

TEST(PointArraysTest, GridsGoRowByRow) {
  const TimeVaryingModel model;
  const PointGrid grid{-10.0, 10.0, 10.0, 0.0, 5.0, 5.0};
  Columns out(6);
  const ArrayOutcome outcome = EvaluateGridArrays(
      model, grid, 1.0, 2007.0, ArrayRequest{}, out.pointers.data());
  EXPECT_EQ(outcome.failed, ArrayOutcome::kNone);
  // Two points a row: point 2 is the second row's first, latitude 0 and
  // longitude 0, and point 5 the last, latitude 10 and longitude 5.
  const FieldAndRates r = model.Evaluate(1.0, 0.0, 0.0, 2007.0, false);
  EXPECT_NEAR(out.pointers[3][2], r.field.F, 1e-9);
  const FieldAndRates last =
      model.Evaluate(1.0, 10.0 * kDegree, 5.0 * kDegree, 2007.0, false);
  EXPECT_NEAR(out.pointers[3][5], last.field.F, 1e-9);
}

// Shared among threads, the values, the stop and the count are those of one
// thread: a strict run stops at its first point above 850 km however far
// the other threads have gone, and counts the points before it.
TEST(PointArraysTest, AnyNumberOfThreadsGivesOneThreadsOutcome) {
  const TimeVaryingModel model;
  constexpr std::size_t kCount = 3000;
  std::vector<double> lat(kCount), lon(kCount), alt(kCount), year(kCount);
  for (std::size_t i = 0; i < kCount; ++i) {
    lat[i] = static_cast<double>(i % 181) - 90.0;
    lon[i] = static_cast<double>(i % 361);
    alt[i] = i % 700 == 699 ? 900.0 : 0.0;
    year[i] = i == 2345 ? 2011.0 : 2006.0;
  }
  const PointGrid grid{-90.0, 90.0, 0.5, 0.0, 10.0, 0.5};
  for (const bool strict : {false, true}) {
    ArrayRequest request;
    request.strict = strict;
    Columns onePoints(kCount), oneGrid(361 * 21);
    const ArrayOutcome points =
        EvaluatePoints(model, kCount, lat.data(), lon.data(), alt.data(),
                       year.data(), request, onePoints.pointers.data());
    const ArrayOutcome grids = EvaluateGridArrays(
        model, grid, 0.0, 2006.0, request, oneGrid.pointers.data());
    EXPECT_EQ(points.failed, strict ? 699u : ArrayOutcome::kNone);
    EXPECT_EQ(points.outside.points, strict ? 0u : 5u);
    for (const unsigned threads : {2u, 5u}) {
      request.threads = threads;
      Columns manyPoints(kCount), manyGrid(361 * 21);
      const ArrayOutcome p =
          EvaluatePoints(model, kCount, lat.data(), lon.data(), alt.data(),
                         year.data(), request, manyPoints.pointers.data());
      const ArrayOutcome g = EvaluateGridArrays(
          model, grid, 0.0, 2006.0, request, manyGrid.pointers.data());
      EXPECT_EQ(p.failed, points.failed);
      EXPECT_EQ(p.error, points.error);
      EXPECT_EQ(p.outside.points, points.outside.points);
      EXPECT_EQ(g.failed, grids.failed);
      EXPECT_EQ(g.outside.points, grids.outside.points);
      // Entries from the failed point on are unspecified.
      const std::size_t valid = std::min(points.failed, kCount);
      for (int k = 0; k < kElementColumns; ++k) {
        for (std::size_t i = 0; i < valid; ++i)
          ASSERT_EQ(manyPoints.pointers[k][i], onePoints.pointers[k][i]);
        for (std::size_t i = 0; i < 361 * 21; ++i)
          ASSERT_EQ(manyGrid.pointers[k][i], oneGrid.pointers[k][i]);
      }
    }
  }
}

}  // namespace
}  // namespace norvane::tools
