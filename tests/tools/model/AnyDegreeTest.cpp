// Models read from coefficient files, of any degree, against GeographicLib's
// evaluation of the same coefficients.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "common/Pi.hpp"
#include "tools/model/CoefficientFile.hpp"
#include "tools/model/LoadedModel.hpp"
#include "testsupport/GeographicLibModel.hpp"
#include "testsupport/RandomPoints.hpp"
#include "testsupport/ReferenceField.hpp"
#include "testsupport/SyntheticModel.hpp"

namespace norvane {
namespace {

// Largest difference from GeographicLib over random points, in components
// and rates, relative to the size of the field (or of the rate) and to the
// difference allowed: 1e-9, and near a pole, where GeographicLib's own
// colatitude is known to about 1e-8 rad only, what FieldRatesTest allows
// there (see ReferenceCrossCheckTest).
double WorstShare(const Coefficients& coefficients, int count) {
  const std::string dir = testing::TempDir();
  const std::string name = "anydegree" + std::to_string(getpid());
  EXPECT_TRUE(WriteGeographicLibModel(coefficients, dir + name));
  const ReferenceField reference(name, dir);
  const LoadedModel model(
      ParseCoefficients(CoefficientFileText(coefficients), "synthetic.cof"));
  double worst = 0.0;
  for (const FieldPoint& p : RandomPoints(count, 2025)) {
    const double fromPole = kPi / 2 - std::fabs(p.latitude);
    const double allowed =
        4 * (fromPole <= 1e-8 ? 1e-8 : std::min(3e-8, 3e-16 / fromPole)) + 1e-9;
    const FieldAndRates r =
        model.Evaluate(p.altitude, p.latitude, p.longitude, p.year, true);
    double X, Y, Z, dX, dY, dZ;
    reference.EvaluateWithRates(p.altitude, p.latitude, p.longitude, p.year, X,
                                Y, Z, dX, dY, dZ);
    const double size = std::hypot(X, Y, Z);
    const double rateSize = std::hypot(dX, dY, dZ);
    worst = std::max({worst, std::fabs(r.field.X - X) / size / allowed,
                      std::fabs(r.field.Y - Y) / size / allowed,
                      std::fabs(r.field.Z - Z) / size / allowed,
                      std::fabs(r.rates.X - dX) / rateSize / allowed,
                      std::fabs(r.rates.Y - dY) / rateSize / allowed,
                      std::fabs(r.rates.Z - dZ) / rateSize / allowed});
  }
  std::remove((dir + name + ".wmm").c_str());
  std::remove((dir + name + ".wmm.cof").c_str());
  return worst;
}

TEST(AnyDegreeTest, AgreesWithGeographicLib) {
  const struct {
    int degree, secularDegree, points;
  } models[] = {
      {1, 1, 500},     // a dipole alone
      {7, 7, 500},     // below the record's degree: its portable path
      {12, 12, 2000},  // the record's paths, secular variation to the end
      {13, 13, 1000},  // the general path from its first degree
      {133, 15, 200},  // high resolution
      {kMaxFileDegree, 20, 50},
  };
  for (const auto& m : models) {
    EXPECT_LE(
        WorstShare(SyntheticModel(m.degree, m.secularDegree, 2020.0, m.degree),
                   m.points),
        1.0)
        << "degree " << m.degree;
  }
}

// The general path and the record's paths sum the same model alike: a
// degree-13 model whose last degree is zero is the degree-12 model.
TEST(AnyDegreeTest, GeneralPathMatchesTheRecordsPaths) {
  Coefficients twelve = SyntheticModel(12, 12, 2015.0, 8);
  Coefficients thirteen = twelve;
  thirteen.degree = 13;
  thirteen.rows.resize(static_cast<std::size_t>(CoefficientIndex(13, 13)) + 1);
  const LoadedModel fixed(twelve);
  const LoadedModel general(thirteen);
  for (const FieldPoint& p : RandomPoints(2000, 12)) {
    const FieldAndRates a =
        fixed.Evaluate(p.altitude, p.latitude, p.longitude, p.year, true);
    const FieldAndRates b =
        general.Evaluate(p.altitude, p.latitude, p.longitude, p.year, true);
    const double nT = 1e-13 * a.field.F;
    const double rate = 1e-13 * std::hypot(a.rates.X, a.rates.Y, a.rates.Z);
    ASSERT_NEAR(a.field.X, b.field.X, nT);
    ASSERT_NEAR(a.field.Y, b.field.Y, nT);
    ASSERT_NEAR(a.field.Z, b.field.Z, nT);
    ASSERT_NEAR(a.rates.X, b.rates.X, rate);
    ASSERT_NEAR(a.rates.Y, b.rates.Y, rate);
    ASSERT_NEAR(a.rates.Z, b.rates.Z, rate);
  }
}

TEST(AnyDegreeTest, ValidityRunsFiveYearsFromTheEpoch) {
  const Validity v = LoadedModel(SyntheticModel(3, 3, 2017.5, 1)).validity();
  EXPECT_EQ(v.from, 2017.5);
  EXPECT_EQ(v.until, 2022.5);
  EXPECT_EQ(v.lowest, -1.0);
  EXPECT_EQ(v.highest, 850.0);
}

}  // namespace
}  // namespace norvane
