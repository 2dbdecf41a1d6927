#include "tools/FieldFormatter.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "tests/tools/ReadNumbers.hpp"
#include "tools/Angles.hpp"

namespace norvane::tools {
namespace {

std::string Format(const FieldFormatter& formatter, const FieldElements& f) {
  char line[FieldFormatter::kMaxLineLength];
  return std::string(line, formatter.Format(f, line));
}

const FieldElements kField = {20735.97849, -3524.0,      0.0625,         0.0005,
                              -0.0004,     Radians(9.5), Radians(-66.25)};

TEST(FieldFormatterTest, Formats) {
  struct Case {
    int digits;
    bool radians;
    std::string line;
  };
  const Case cases[] = {
      // Fixed decimals round the double exactly, ties to even.
      {0, false,
       "20735.978 -3524.000 0.062 0.001 -0.000 9.500000 -66.250000\n"},
      {0, true, "20735.978 -3524.000 0.062 0.001 -0.000 0.165806 -1.156281\n"},
      {3, false, "2.07e+04 -3.52e+03 0.0625 0.0005 -0.0004 9.5 -66.2\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Format(FieldFormatter(c.digits, c.radians), kField), c.line);
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
  const std::string line =
      Format(FieldFormatter(0, true), {big, big, big, big, big, big, big});
  EXPECT_LE(line.size(), FieldFormatter::kMaxLineLength);
  EXPECT_EQ(line.back(), '\n');
}

}  // namespace
}  // namespace norvane::tools
