#include "tools/field/FieldFormatter.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "tests/tools/field/ReadNumbers.hpp"
#include "tools/common/Angles.hpp"

namespace norvane::tools {
namespace {

std::string Format(const FieldFormatter& formatter, const FieldElements& f,
                   const FieldElements* rates = nullptr,
                   const double* gridVariation = nullptr,
                   const FieldElements* uncertainty = nullptr) {
  char line[FieldFormatter::kMaxLength];
  return std::string(
      line, formatter.Format(f, rates, gridVariation, uncertainty, line));
}

const FieldElements kField = {20735.97849, -3524.0,      0.0625,         0.0005,
                              -0.0004,     Radians(9.5), Radians(-66.25)};
const FieldElements kRates = {-21.5, 7.25,           NAN,          -INFINITY,
                              1e-4,  Radians(0.125), Radians(-2.0)};

TEST(FieldFormatterTest, Formats) {
  struct Case {
    int digits;
    bool radians;
    const FieldElements* rates;
    std::string line;
  };
  const Case cases[] = {
      // Fixed decimals round the double exactly, ties to even.
      {0, false, nullptr,
       "20735.978 -3524.000 0.062 0.001 -0.000 9.500000 -66.250000"},
      {0, true, nullptr,
       "20735.978 -3524.000 0.062 0.001 -0.000 0.165806 -1.156281"},
      {3, false, nullptr, "2.07e+04 -3.52e+03 0.0625 0.0005 -0.0004 9.5 -66.2"},
      // Rates follow in the same units per year; what is not finite is nan.
      {0, false, &kRates,
       "20735.978 -3524.000 0.062 0.001 -0.000 9.500000 -66.250000 "
       "-21.500 7.250 nan nan 0.000 0.125000 -2.000000"},
      {2, true, &kRates,
       "2.1e+04 -3.5e+03 0.062 0.0005 -0.0004 0.17 -1.2 "
       "-22 7.2 nan nan 0.0001 0.0022 -0.035"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(FieldFormatter(c.digits, c.radians), kField, c.rates),
              c.line);
  }
  // Grid variation comes last, as D is printed.
  const double gv = Radians(-51.25);
  EXPECT_EQ(Format(FieldFormatter(0, false), kField, &kRates, &gv),
            "20735.978 -3524.000 0.062 0.001 -0.000 9.500000 -66.250000 "
            "-21.500 7.250 nan nan 0.000 0.125000 -2.000000 -51.250000");
  const double none = NAN;
  EXPECT_EQ(Format(FieldFormatter(0, true), kField, nullptr, &none),
            "20735.978 -3524.000 0.062 0.001 -0.000 0.165806 -1.156281 nan");
  EXPECT_EQ(FieldFormatter(0, false).Header(true, true, false),
            "X_nT Y_nT Z_nT F_nT H_nT D_deg I_deg dX_nT/yr dY_nT/yr dZ_nT/yr "
            "dF_nT/yr dH_nT/yr dD_deg/yr dI_deg/yr GV_deg\n");
  EXPECT_EQ(FieldFormatter(0, true).Header(false, false, false),
            "X_nT Y_nT Z_nT F_nT H_nT D_rad I_rad\n");
  EXPECT_EQ(FieldFormatter(0, false).Header(false, true, true),
            "X_nT Y_nT Z_nT F_nT H_nT D_deg I_deg GV_deg sX_nT sY_nT sZ_nT "
            "sF_nT sH_nT sD_deg sI_deg\n");
  // The uncertainties come last, after grid variation, in the field's
  // units.
  const FieldElements sigma = {137, 89, 141, 138, 133, Radians(90.0), 0.0};
  EXPECT_EQ(Format(FieldFormatter(0, false), kField, nullptr, &none, &sigma),
            "20735.978 -3524.000 0.062 0.001 -0.000 9.500000 -66.250000 nan "
            "137.000 89.000 141.000 138.000 133.000 90.000000 0.000000");
}

// The default columns are exactly what std::to_chars prints with 3 and 6
// decimals, whatever the value's size: ties, tiny and huge values included.
TEST(FieldFormatterTest, FixedColumnsAreStdToChars) {
  std::mt19937_64 random(2005);
  std::vector<double> values = {0.0625, -0.0625, 0.0005,  2.5e-7, 1.5e-6,
                                -0.0,   5e-324,  0.9995,  1e15,   4.5e15,
                                9.5e15, -1e300,  2.0 / 3, 0.125,  1e-7};
  for (int i = 0; i < 20000; ++i) {
    const double mantissa = std::uniform_real_distribution<>(-1, 1)(random);
    values.push_back(
        std::ldexp(mantissa, static_cast<int>(random() % 140) - 70));
  }
  const FieldFormatter formatter(0, true);
  for (const double v : values) {
    const FieldElements f = {v, v, v, v, v, v, v};
    char expected[FieldFormatter::kMaxLength];
    char* end = expected;
    for (int column = 0; column < 7; ++column) {
      end = std::to_chars(end, expected + sizeof expected, v,
                          std::chars_format::fixed, column < 5 ? 3 : 6)
                .ptr;
      *end++ = ' ';
    }
    ASSERT_EQ(Format(formatter, f), std::string(expected, end - 1)) << v;
  }
}

TEST(FieldFormatterTest, SeventeenDigitsReadBack) {
  const FieldFormatter formatter(17, true);
  const FieldElements f = {
      1.0 / 3, -2e-300, 56546.31873411, 1e22, 0.1, -3.141592653589793, 5e-324};
  EXPECT_EQ(ReadNumbers(Format(formatter, f)),
            (std::vector<double>{f.X, f.Y, f.Z, f.F, f.H, f.D, f.I}));
}

TEST(FieldFormatterTest, LargestValuesFitTheLine) {
  const double big = -std::numeric_limits<double>::max();
  const FieldElements all = {big, big, big, big, big, big, big};
  const std::string line = Format(FieldFormatter(0, true), all, &all, &big);
  EXPECT_LE(line.size(), FieldFormatter::kMaxLength);
  EXPECT_EQ(line.substr(line.size() - 4), "0000");
}

}  // namespace
}  // namespace norvane::tools
