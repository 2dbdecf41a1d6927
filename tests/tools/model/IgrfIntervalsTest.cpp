// Each five-year interval of the official IGRF, read by the SHC reader,
// against GeographicLib evaluating the same interval written as a
// single-epoch model: the coefficients at its start and, as their secular
// variation, the slope to its end, both taken from the file by a reader of
// this test's own.  Dates fall inside the intervals, exactly on their
// epochs, and on the last epoch; before 2000 degrees 11 to 13 are zero at
// the start of each interval.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/model/ModelFile.hpp"
#include "testsupport/GeographicLibModel.hpp"
#include "testsupport/RandomPoints.hpp"
#include "testsupport/ReferenceField.hpp"

namespace norvane {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The file's epochs and its g and h at each, by CoefficientIndex.
struct Epochs {
  int degree = 0;
  std::vector<double> years;
  std::vector<std::vector<double>> g, h;
};

// Reads the official file as IAGA lays it out: comments, the parameter
// line, the epoch line, then g rows with h rows of the same m after them.
Epochs ReadIgrf(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line) && line[0] == '#') {
  }
  Epochs e;
  int lowest, count;
  std::istringstream(line) >> lowest >> e.degree >> count;
  std::getline(in, line);
  std::istringstream epochLine(line);
  e.years.resize(count);
  for (double& year : e.years) epochLine >> year;
  const int terms = CoefficientIndex(e.degree, e.degree) + 1;
  e.g.assign(count, std::vector<double>(terms, 0.0));
  e.h = e.g;
  std::vector<bool> seen(terms, false);
  while (std::getline(in, line)) {
    std::istringstream row(line);
    int n, m;
    if (!(row >> n >> m)) continue;
    const int k = CoefficientIndex(n, m);
    auto& to = seen[k] ? e.h : e.g;
    seen[k] = true;
    for (int i = 0; i < count; ++i) row >> to[i][k];
  }
  return e;
}

TEST(IgrfIntervalsTest, EveryIntervalAgreesWithGeographicLib) {
  const std::string file = std::string(NORVANE_IGRF_DATA_DIR) + "/IGRF14.SHC";
  const Epochs e = ReadIgrf(file);
  ASSERT_GE(e.years.size(), 2u);
  ASSERT_EQ(e.degree, 13);
  const TimeVaryingModel model = ReadModelFile(file);
  const std::string dir = testing::TempDir();
  // The worst share of the allowance, and the worst difference away from
  // the poles, nT and nT/yr.
  double worstShare = 0.0, worstField = 0.0, worstRate = 0.0;
  for (std::size_t i = 0; i + 1 < e.years.size(); ++i) {
    const double start = e.years[i], end = e.years[i + 1];
    SCOPED_TRACE(start);
    Coefficients interval;
    interval.name = "igrf" + std::to_string(getpid());
    interval.epoch = start;
    interval.degree = e.degree;
    interval.rows.resize(e.g[i].size());
    bool highDegreesZero = true;
    for (std::size_t k = 0; k < interval.rows.size(); ++k) {
      interval.rows[k] = {e.g[i][k], e.h[i][k],
                          (e.g[i + 1][k] - e.g[i][k]) / (end - start),
                          (e.h[i + 1][k] - e.h[i][k]) / (end - start)};
      if (k >= static_cast<std::size_t>(CoefficientIndex(11, 0)))
        highDegreesZero &= e.g[i][k] == 0.0 && e.h[i][k] == 0.0;
    }
    EXPECT_EQ(highDegreesZero, start < 2000.0);
    ASSERT_TRUE(WriteGeographicLibModel(interval, dir + interval.name));
    const ReferenceField reference(interval.name, dir);
    const bool last = i + 2 == e.years.size();
    int k = 0;
    for (FieldPoint p : RandomPoints(400, 1900 + i)) {
      // The points' years, 2000 to 2012, spread over the interval; every
      // fifth point exactly on its first epoch, and on the last interval
      // every fifth on the last epoch.
      const int kind = k++ % 5;
      p.year = kind == 0 ? start
               : kind == 1 && last
                   ? end
                   : start + (p.year - 2000.0) / 12.0 * (end - start) * 0.999;
      const FieldAndRates r =
          model.Evaluate(p.altitude, p.latitude, p.longitude, p.year, true);
      double X, Y, Z, dX, dY, dZ;
      reference.EvaluateWithRates(p.altitude, p.latitude, p.longitude, p.year,
                                  X, Y, Z, dX, dY, dZ);
      // As AnyDegreeTest allows: 1e-9 of the field's size, and near a pole,
      // where GeographicLib's colatitude is known to about 1e-8 rad only,
      // more.
      const double fromPole = kPi / 2 - std::fabs(p.latitude);
      const double allowed =
          4 * (fromPole <= 1e-8 ? 1e-8 : std::min(3e-8, 3e-16 / fromPole)) +
          1e-9;
      const double size = std::hypot(X, Y, Z);
      // Rates are held to the same share of at least a thousandth of the
      // field: exactly on a pole GeographicLib's frame alone moves a rate
      // of 1 nT/yr by about 1e-7 of it.
      const double rateSize = std::max(std::hypot(dX, dY, dZ), 1e-3 * size);
      const double field =
          std::max({std::fabs(r.field.X - X), std::fabs(r.field.Y - Y),
                    std::fabs(r.field.Z - Z)});
      const double rate =
          std::max({std::fabs(r.rates.X - dX), std::fabs(r.rates.Y - dY),
                    std::fabs(r.rates.Z - dZ)});
      worstShare = std::max(
          {worstShare, field / size / allowed, rate / rateSize / allowed});
      if (p.altitude < 1000.0 && fromPole > 1e-4) {
        worstField = std::max(worstField, field);
        worstRate = std::max(worstRate, rate);
      }
    }
    std::remove((dir + interval.name + ".wmm").c_str());
    std::remove((dir + interval.name + ".wmm.cof").c_str());
  }
  EXPECT_LE(worstShare, 1.0);
  std::cout << "IGRF14 intervals against GeographicLib: worst share of the "
            << "allowance " << worstShare << "; below 1000 km and beyond "
            << "1e-4 rad from a pole, worst " << worstField << " nT, "
            << worstRate << " nT/yr\n";
}

}  // namespace
}  // namespace norvane
