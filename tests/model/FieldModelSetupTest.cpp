// The record that setup builds: normalised coefficients, recursion
// constants and layout.

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <type_traits>

#include "model/FieldModel.hpp"
#include "model/Wmm2005.hpp"

namespace norvane {
namespace {

constexpr int kN = FieldModel::kSize;

// Schmidt factor in closed form, independent of setup's recursion:
// S(n, m) = sqrt((2 - [m = 0]) (n - m)! / (n + m)!) (2n - 1)!! / (n - m)!.
double ClosedFormSchmidt(int n, int m) {
  double ratio = m == 0 ? 1.0 : 2.0;  // (2 - [m = 0]) (n - m)! / (n + m)!
  for (int i = n - m + 1; i <= n + m; ++i) ratio /= i;
  double odd = 1.0;  // (2n - 1)!! / (n - m)!
  for (int i = 1; i <= n; ++i) odd *= 2 * i - 1;
  for (int i = 2; i <= n - m; ++i) odd /= i;
  return std::sqrt(ratio) * odd;
}

TEST(FieldModelSetupTest, DegreeAndEpoch) {
  const FieldModel model;
  EXPECT_EQ(model.maxDegree, 12);
  EXPECT_EQ(model.epoch, 2005);
}

// Every term of all four arrays is the table value times S(n, m).
TEST(FieldModelSetupTest, CoefficientsCarryTheirSchmidtFactors) {
  const FieldModel model;
  for (int n = 1; n < kN; ++n) {
    for (int m = 0; m <= n; ++m) {
      SCOPED_TRACE(testing::Message() << "n=" << n << " m=" << m);
      const CoefficientRow& row = kWmm2005[CoefficientIndex(n, m)];
      const double s = ClosedFormSchmidt(n, m);
      const struct {
        double actual, table;
      } terms[] = {{model.g[n][m], row.g},
                   {model.h[n][m], row.h},
                   {model.gDot[n][m], row.gDot},
                   {model.hDot[n][m], row.hDot}};
      for (const auto& term : terms) {
        EXPECT_NEAR(term.actual, s * term.table,
                    1e-14 * std::fabs(s * term.table));
      }
    }
  }
}

// Known values, exact to the last digit printed.
TEST(FieldModelSetupTest, KnownNormalisedCoefficients) {
  const FieldModel model;
  const struct {
    const char* name;
    double actual, expected;
  } cases[] = {
      {"g(1,0)", model.g[1][0], -29556.8},
      {"g(1,1)", model.g[1][1], -1671.7},
      {"h(1,1)", model.h[1][1], 5079.8},
      {"g(2,0)", model.g[2][0], -2340.6 * 1.5},
      {"g(2,1)", model.g[2][1], 5277.385605581612},
      {"h(2,1)", model.h[2][1], -4494.152230398965},
      {"g(2,2)", model.g[2][2], 1435.0040940708147},
      {"g(3,0)", model.g[3][0], 1335.4 * 2.5},
      {"g(12,0)", model.g[12][0], -2.4 * 660.1943359375},
      {"g(12,12)", model.g[12][12], -0.1 * 0.5677680121268563},
      {"h(12,12)", model.h[12][12], 0.8 * 0.5677680121268563},
      {"gDot(2,1)", model.gDot[2][1], -7.8 * 1.7320508075688772},
      {"hDot(2,2)", model.hDot[2][2], -14.6 * 0.8660254037844386},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(c.actual, c.expected) << c.name;
  }
}

TEST(FieldModelSetupTest, RecursionConstants) {
  const FieldModel model;
  const struct {
    int n, m;
    double expected;
  } cases[] = {{2, 0, 1.0 / 3.0},     {3, 0, 4.0 / 15.0},
               {3, 1, 0.2},           {12, 0, 121.0 / 483.0},
               {12, 5, 96.0 / 483.0}, {5, 2, 12.0 / 63.0}};
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(model.k[c.n][c.m], c.expected)
        << "k(" << c.n << "," << c.m << ")";
  }
  for (int n = 2; n < kN; ++n) {
    EXPECT_EQ(model.k[n][n - 1], 0.0) << "k(" << n << "," << n - 1 << ")";
  }
  for (int n = 1; n < kN; ++n) {
    EXPECT_EQ(model.fn[n], n + 1.0) << "fn(" << n << ")";
  }
  for (int m = 0; m < kN; ++m) {
    EXPECT_EQ(model.fm[m], m) << "fm(" << m << ")";
  }
  EXPECT_EQ(model.fn[0], 0.0);
}

// Outside the triangle 1 <= n, m <= n everything is zero, and so are the
// order-0 sine terms and the secular variation from degree 9 on.
TEST(FieldModelSetupTest, ZerosWhereTheModelHasNoTerms) {
  const FieldModel model;
  const struct {
    const char* name;
    const double (*array)[kN];
  } arrays[] = {{"g", model.g},
                {"gDot", model.gDot},
                {"h", model.h},
                {"hDot", model.hDot},
                {"k", model.k}};
  for (const auto& a : arrays) {
    for (int n = 0; n < kN; ++n) {
      for (int m = 0; m < kN; ++m) {
        const bool inTriangle = n >= 1 && m <= n;
        const bool sineOrderZero =
            m == 0 && (a.array == model.h || a.array == model.hDot);
        const bool noSecular = n > kWmm2005SecularDegree &&
                               (a.array == model.gDot || a.array == model.hDot);
        if (!inTriangle || sineOrderZero || noSecular) {
          EXPECT_EQ(a.array[n][m], 0.0)
              << a.name << "(" << n << "," << m << ")";
        }
      }
    }
  }
}

// A lower degree, as a coefficient file may have, over a record that held
// the whole table: its terms only, zeros above it, and the recursion
// constants of every degree, which do not depend on the coefficients.
TEST(FieldModelSetupTest, FillingALowerDegreeLeavesNothingAboveIt) {
  constexpr int kDegree = 3;
  FieldModel model;
  FillFieldModel(kDegree, kWmm2005, model);
  EXPECT_EQ(model.maxDegree, kDegree);
  for (int n = 0; n < kN; ++n) {
    for (int m = 0; m < kN; ++m) {
      SCOPED_TRACE(testing::Message() << "n=" << n << " m=" << m);
      const bool term = n >= 1 && n <= kDegree && m <= n;
      const double s = term ? ClosedFormSchmidt(n, m) : 0.0;
      const CoefficientRow row =
          term ? kWmm2005[CoefficientIndex(n, m)] : CoefficientRow{};
      EXPECT_NEAR(model.g[n][m], s * row.g, 1e-14 * std::fabs(s * row.g));
      EXPECT_NEAR(model.h[n][m], s * row.h, 1e-14 * std::fabs(s * row.h));
      EXPECT_NEAR(model.gDot[n][m], s * row.gDot,
                  1e-14 * std::fabs(s * row.gDot));
      EXPECT_NEAR(model.hDot[n][m], s * row.hDot,
                  1e-14 * std::fabs(s * row.hDot));
      const double k = n >= 1 && m <= n ? ((n - 1.0) * (n - 1.0) - m * m) /
                                              ((2.0 * n - 1) * (2.0 * n - 3))
                                        : 0.0;
      EXPECT_DOUBLE_EQ(model.k[n][m], k);
    }
    EXPECT_EQ(model.fn[n], n >= 1 ? n + 1 : 0);
    EXPECT_EQ(model.fm[n], n);
  }
}

TEST(FieldModelSetupTest, IsAPlainRecordInItsFixedLayout) {
  static_assert(std::is_standard_layout_v<FieldModel>);
  static_assert(std::is_trivially_copyable_v<FieldModel>);
  constexpr std::size_t kSquare = sizeof(double) * kN * kN;
  static_assert(offsetof(FieldModel, epoch) == 4);
  static_assert(offsetof(FieldModel, g) == 8);
  static_assert(offsetof(FieldModel, gDot) == 8 + kSquare);
  static_assert(offsetof(FieldModel, h) == 8 + 2 * kSquare);
  static_assert(offsetof(FieldModel, hDot) == 8 + 3 * kSquare);
  static_assert(offsetof(FieldModel, fn) == 8 + 4 * kSquare);
  static_assert(offsetof(FieldModel, fm) == 8 + 4 * kSquare + 8 * kN);
  static_assert(offsetof(FieldModel, k) == 8 + 4 * kSquare + 16 * kN);
  static_assert(sizeof(FieldModel) == 8 + 5 * kSquare + 16 * kN);
  const FieldModel first;
  const FieldModel second;
  EXPECT_EQ(std::memcmp(&first, &second, sizeof(FieldModel)), 0);
}

}  // namespace
}  // namespace norvane
