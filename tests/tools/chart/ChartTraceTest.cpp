// Contour tracing shared among threads, and the vertices of a model of high
// degree found along circles of latitude.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/chart/Contours.hpp"
#include "tools/chart/FieldGrid.hpp"
#include "tools/chart/MeridianArc.hpp"
#include "tools/model/ModelFile.hpp"

namespace norvane::chart {
namespace {

// The interpolation through all points reproduces a polynomial of degree
// kArcNodes - 1, the one through every other point one of half that, and
// not one degree more.
TEST(MeridianArcTest, ReproducesPolynomialsOfItsDegree) {
  constexpr int kCoarseDegree = (kArcNodes - 1) / 2;
  const struct {
    int degree;
    bool coarse;
    bool exact;
  } cases[] = {{kArcNodes - 1, false, true},
               {kCoarseDegree, true, true},
               {kCoarseDegree + 1, true, false}};
  for (const auto& c : cases) {
    // (2t - 1)^degree, which no lower degree comes near, plus a line.
    const auto poly = [&c](double t) {
      return 3.0 * std::pow(2.0 * t - 1.0, c.degree) + 20000.0 - 5.0 * t;
    };
    std::array<Components, kArcNodes> nodes{};
    for (int k = 0; k < kArcNodes; ++k) {
      const double v = poly(ArcNode(k));
      nodes[k] = {v, -v, 2.0 * v, 0.0, 0.0, 0.0};
    }
    const MeridianArc arc(nodes);
    for (const double t : {0.0, 0.03, 0.25, 0.5, 0.77, 1.0}) {
      const FieldAndRates f = arc.At(t, c.coarse);
      const double error = std::fabs(f.field.X - poly(t));
      SCOPED_TRACE("degree " + std::to_string(c.degree) + " at " +
                   std::to_string(t));
      if (c.exact || t == 0.0 || t == 1.0) {
        EXPECT_LE(error, 1e-9);
        EXPECT_NEAR(f.field.Y, -poly(t), 1e-9);
        EXPECT_NEAR(f.field.H, std::sqrt(2.0) * std::fabs(poly(t)), 1e-8);
      } else if (t != 0.5) {
        EXPECT_GT(error, 1e-6);
      }
    }
  }
}

bool SameLines(const std::vector<ContourLine>& a,
               const std::vector<ContourLine>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (a[k].value != b[k].value || a[k].closed != b[k].closed ||
        a[k].points.size() != b[k].points.size()) {
      return false;
    }
    for (std::size_t p = 0; p < a[k].points.size(); ++p) {
      if (a[k].points[p].lon != b[k].points[p].lon ||
          a[k].points[p].lat != b[k].points[p].lat) {
        return false;
      }
    }
  }
  return true;
}

struct TraceCase {
  const char* name;
  Quantity quantity;
  double interval;
  double step;
};

// D on a grid fine enough for most of a high degree's vertices to come
// from the interpolation across bands; the others on a coarse one, where
// most are settled by the model's points.
const TraceCase kCases[] = {
    {"D", {Element::kD, false, false}, 2.0, 0.5},
    {"F", {Element::kF, false, false}, 1000.0, 2.0},
    {"dD", {Element::kD, true, false}, 2.0, 2.0},
};

std::vector<ContourLine> Trace(const FieldSource& source, const TraceCase& c,
                               unsigned threads) {
  const ValueGrid grid = EvaluateGrid(source, c.step);
  double lowest, highest;
  ValueRange(grid, false, lowest, highest);
  return TraceContours(source, grid, c.interval, lowest, highest, threads);
}

// The lines, to the last bit, whatever the number of threads: for the
// compiled-in model, refined by points, and for a model of high degree,
// refined along circles.
TEST(TraceContoursTest, SameLinesForAnyNumberOfThreads) {
  std::vector<const TimeVaryingModel*> models;
  const TimeVaryingModel compiledIn;
  models.push_back(&compiledIn);
#ifdef NORVANE_WMM_DATA_DIR
  const TimeVaryingModel high =
      ReadModelFile(std::string(NORVANE_WMM_DATA_DIR) + "/WMMHR2025.COF");
  models.push_back(&high);
#endif
  for (const TimeVaryingModel* model : models) {
    for (const TraceCase& c : kCases) {
      SCOPED_TRACE(model->name() + " " + c.name);
      FieldRequest request{c.quantity, model->validity().from + 1.0};
      const FieldSource source(*model, request);
      const std::vector<ContourLine> one = Trace(source, c, 1);
      EXPECT_GT(one.size(), 10u);
      for (const unsigned threads : {2u, 5u})
        EXPECT_TRUE(SameLines(one, Trace(source, c, threads))) << threads;
    }
  }
}

// Every vertex found along circles gives its level, by the model's own
// evaluation at the point, to within 1e-6 of the interval as one found by
// points does.
TEST(TraceContoursTest, HighDegreeVerticesHoldTheirLevel) {
#ifndef NORVANE_WMM_DATA_DIR
  GTEST_SKIP() << "no WMM data directory";
#else
  const TimeVaryingModel model =
      ReadModelFile(std::string(NORVANE_WMM_DATA_DIR) + "/WMMHR2025.COF");
  for (const TraceCase& c : kCases) {
    SCOPED_TRACE(c.name);
    const FieldSource source(model, {c.quantity, 2026.0});
    ASSERT_TRUE(source.CirclesPay());
    double worst = 0.0;
    std::size_t vertices = 0;
    for (const ContourLine& line : Trace(source, c, 2)) {
      for (const GeoPoint& p : line.points) {
        const double off = source.Value(p.lat, p.lon) - line.value;
        worst = std::max(worst, std::fabs(c.quantity.element == Element::kD
                                              ? std::remainder(off, 360.0)
                                              : off) /
                                    c.interval);
        ++vertices;
      }
    }
    EXPECT_GT(vertices, 1000u);
    // The circles agree with the points to rounding, far below this.
    EXPECT_LE(worst, 1e-6 * (1.0 + 1e-6));
    std::printf("worst vertex: %.3g of the interval\n", worst);
  }
#endif
}

}  // namespace
}  // namespace norvane::chart
