// Contour tracing shared among threads, and the vertices of a model of high
// degree found along circles of latitude.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/chart/Contours.hpp"
#include "tools/chart/FieldGrid.hpp"
#include "tools/chart/MeridianArc.hpp"
#include "model/Wmm2005.hpp"
#include "tools/model/CoefficientFile.hpp"
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

const TraceCase kCases[] = {
    {"D", {Element::kD, false, false}, 2.0, 2.0},
    {"F", {Element::kF, false, false}, 1000.0, 2.0},
    {"dD", {Element::kD, true, false}, 2.0, 2.0},
};

// The compiled-in model carried on to degree 40 with made-up terms that
// fall off as a crust's do: a model whose vertices are found along
// circles, cheap enough for the sanitizers.
TimeVaryingModel DegreeForty() {
  constexpr int kDegree = 40;
  Coefficients c{"TEST-40", "", 2005.0, kDegree, {}};
  c.rows.assign(CoefficientIndex(kDegree, kDegree) + 1, CoefficientRow{});
  std::copy(kWmm2005, kWmm2005 + kWmm2005Rows, c.rows.begin());
  for (int n = kWmm2005Degree + 1; n <= kDegree; ++n) {
    const double size = 200.0 * std::pow(0.85, n - kWmm2005Degree);
    for (int m = 0; m <= n; ++m) {
      CoefficientRow& row = c.rows[CoefficientIndex(n, m)];
      row.g = size * std::cos(1.7 * n + 2.3 * m);
      row.h = m == 0 ? 0.0 : size * std::sin(0.9 * n + 1.3 * m);
      row.gDot = 0.01 * size * std::sin(n + m);
    }
  }
  return TimeVaryingModel(c);
}

std::vector<ContourLine> Trace(const FieldSource& source, const TraceCase& c,
                               unsigned threads) {
  const ValueGrid grid = EvaluateGrid(source, c.step);
  double lowest, highest;
  ValueRange(grid, false, lowest, highest);
  return TraceContours(source, grid, c.interval, lowest, highest, threads);
}

// The lines, to the last bit, whatever the number of threads: for the
// compiled-in model, refined by points, and for one of higher degree,
// refined along circles.
TEST(TraceContoursTest, SameLinesForAnyNumberOfThreads) {
  const TimeVaryingModel compiledIn;
  const TimeVaryingModel forty = DegreeForty();
  for (const TimeVaryingModel* model : {&compiledIn, &forty}) {
    for (const TraceCase& c : kCases) {
      SCOPED_TRACE(model->name() + " " + c.name);
      const FieldSource source(*model, {c.quantity, 2006.0});
      EXPECT_EQ(source.CirclesPay(), model == &forty);
      const std::vector<ContourLine> one = Trace(source, c, 1);
      EXPECT_GT(one.size(), 10u);
      for (const unsigned threads : {2u, 5u})
        EXPECT_TRUE(SameLines(one, Trace(source, c, threads))) << threads;
    }
  }
}

// The worst distance of a vertex from its level, in intervals, by the
// model's own evaluation at every stride-th vertex.
double WorstVertex(const FieldSource& source, const TraceCase& c,
                   std::size_t stride) {
  double worst = 0.0;
  std::size_t vertices = 0, checked = 0;
  for (const ContourLine& line : Trace(source, c, 2)) {
    for (const GeoPoint& p : line.points) {
      if (vertices++ % stride != 0) continue;
      const double off = source.Value(p.lat, p.lon) - line.value;
      worst = std::max(worst, std::fabs(c.quantity.element == Element::kD
                                            ? std::remainder(off, 360.0)
                                            : off) /
                                  c.interval);
      ++checked;
    }
  }
  EXPECT_GT(checked, 1000u);
  std::printf("%s: worst of %zu vertices: %.3g of the interval\n", c.name,
              checked, worst);
  return worst;
}

// Every vertex found along circles gives its level, by the model's own
// evaluation at the point, to within 1e-6 of the interval, as one found by
// points does (the circles agree with the points to rounding, far below
// the slack allowed here).  The coarser the grid, the more of a column's
// vertices the points settle; the finer, the more the interpolation does.
TEST(TraceContoursTest, VerticesAlongCirclesHoldTheirLevel) {
  constexpr double kWorst = 1e-6 * (1.0 + 1e-6);
  const TimeVaryingModel forty = DegreeForty();
  // Not D's change: it grows without bound towards a magnetic pole, where
  // no vertex holds it to 1e-6 of the interval.
  const TraceCase cases[] = {
      kCases[1],
      {"dF", {Element::kF, true, false}, 10.0, 2.0},
      {"D", {Element::kD, false, false}, 2.0, 1.0},
  };
  for (const TraceCase& c : cases) {
    const FieldSource source(forty, {c.quantity, 2006.0});
    EXPECT_LE(WorstVertex(source, c, 1), kWorst) << c.name;
  }
#ifdef NORVANE_WMM_DATA_DIR
  const TimeVaryingModel high =
      ReadModelFile(std::string(NORVANE_WMM_DATA_DIR) + "/WMMHR2025.COF");
  const TraceCase c{"D WMMHR-2025", {Element::kD, false, false}, 2.0, 1.0};
  EXPECT_LE(WorstVertex(FieldSource(high, {c.quantity, 2026.0}), c, 10),
            kWorst);
#endif
}

}  // namespace
}  // namespace norvane::chart
