// The any-degree sums four orders at a time against the same sums two
// orders at a time, on models of the high degrees and on points that stress
// the recursions: the poles and just off them, where (aor st)^m underflows,
// high altitudes, both hemispheres, dates from before to after the epochs.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/Pi.hpp"
#include "tools/model/AnyDegreeSums.hpp"
#include "tools/model/CoefficientFile.hpp"
#include "testsupport/RandomPoints.hpp"
#include "testsupport/SyntheticModel.hpp"

namespace norvane {
namespace {

// How far apart the two ways may be, relative to the size of the field (or
// of its rate): they sum the same terms with different rounding.
constexpr double kTolerance = 1e-12;

struct Sums {
  SphericalField field, rates;
};

// The field and its rate at a point, by the point's sums or, as circles of
// latitude do, from the columns.
Sums Evaluate(const AnyDegreeSums& sums, double epoch, const FieldPoint& p,
              bool byColumns) {
  const GeocentricPoint point = ToGeocentric(p.altitude, p.latitude, kWgs84);
  const double dt = p.year - epoch;
  LongitudeTotals totals(p.longitude, true);
  if (byColumns) {
    sums.SumColumns<true>(dt, point, [&totals](int m, const auto& column) {
      totals.Add(m, column);
    });
  } else {
    sums.SumPoint(dt, point, totals);
  }
  return {sums.Finish(totals.field, dt, false, point, totals.slon, totals.clon),
          sums.Finish(totals.rates, dt, true, point, totals.slon, totals.clon)};
}

double Size(const SphericalField& b) { return std::hypot(b.br, b.bt, b.bp); }

double Difference(const SphericalField& a, const SphericalField& b) {
  return std::max(
      {std::fabs(a.br - b.br), std::fabs(a.bt - b.bt), std::fabs(a.bp - b.bp)});
}

// Random points, and a table of the hardest: the poles, 1e-5 degrees and
// 1e-12 rad from them, at sea level, deep below and far above.
std::vector<FieldPoint> Points(int count) {
  std::vector<FieldPoint> points = RandomPoints(count, 133);
  const double latitudes[] = {kPi / 2,
                              kPi / 2 - 1e-5 * kPi / 180,
                              kPi / 2 - 1e-12,
                              1.2,
                              0.0,
                              -0.7,
                              -kPi / 2 + 1e-12,
                              -kPi / 2 + 1e-5 * kPi / 180,
                              -kPi / 2};
  const double altitudes[] = {-10.0, 0.0, 850.0, 40000.0};
  const double years[] = {1995.0, 2020.0, 2031.5};
  for (double latitude : latitudes) {
    for (double altitude : altitudes) {
      for (double year : years) {
        points.push_back({altitude, latitude, 2.0 - latitude, year});
      }
    }
  }
  return points;
}

// The largest difference between the two ways, the four-order one by the
// point's sums and by columns, over the points, relative
// to the field's size and to the tolerance.
double WorstShare(const Coefficients& model, int count) {
  const AnyDegreeSums wide(model, true);
  const AnyDegreeSums paired(model, false);
  double worst = 0.0;
  for (const FieldPoint& p : Points(count)) {
    const Sums b = Evaluate(paired, model.epoch, p, true);
    for (bool byColumns : {false, true}) {
      const Sums a = Evaluate(wide, model.epoch, p, byColumns);
      worst = std::max({worst, Difference(a.field, b.field) / Size(b.field),
                        Difference(a.rates, b.rates) / Size(b.rates)});
      EXPECT_TRUE(std::isfinite(Size(a.field)) && std::isfinite(Size(a.rates)))
          << p.latitude << " rad, " << p.altitude << " km";
    }
  }
  return worst / kTolerance;
}

TEST(WideColumnSumsTest, AgreeWithThePairedSums) {
  if (!AnyDegreeSums::WideSupported()) GTEST_SKIP() << "no AVX2 and FMA";
  const struct {
    int degree, secularDegree, points;
  } models[] = {
      {13, 13, 3000},  // the lowest degree the general path takes
      {14, 0, 1000},   // no secular variation at all
      {50, 8, 1000},   // secular variation below the first quad's end
      {133, 15, 1000}, {kMaxFileDegree, 20, 200},
  };
  for (const auto& m : models) {
    EXPECT_LE(WorstShare(SyntheticModel(m.degree, m.secularDegree, 2020.0,
                                        m.degree + 1),
                         m.points),
              1.0)
        << "degree " << m.degree;
  }
}

#ifdef NORVANE_WMM_DATA_DIR
TEST(WideColumnSumsTest, AgreeWithThePairedSumsOnWmmhr2025) {
  if (!AnyDegreeSums::WideSupported()) GTEST_SKIP() << "no AVX2 and FMA";
  const Coefficients model =
      ReadCoefficientFile(std::string(NORVANE_WMM_DATA_DIR) + "/WMMHR2025.COF");
  const double share = WorstShare(model, 4000);
  RecordProperty("worst_share_of_1e-12", std::to_string(share));
  EXPECT_LE(share, 1.0);
}
#endif

}  // namespace
}  // namespace norvane
