#include "display/FormatSI.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace norvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Brackets show the blank prefix and the field width.
std::string Format(double value) {
  char line[260];
  FormatSI(line, sizeof line, "[%9.3f%c]", value);
  return line;
}

TEST(FormatSITest, ScalesMantissaIntoOneToThousand) {
  const struct {
    double value;
    const char* expected;
  } cases[] = {
      {0.0, "[    0.000 ]"},      {1e-24, "[    0.000 ]"},
      {-1e-24, "[   -0.000 ]"},   {-1e-30, "[   -0.000 ]"},
      {2e-24, "[    2.000y]"},    {1e-21, "[    1.000z]"},
      {0.001, "[    1.000m]"},    {-0.25, "[ -250.000m]"},
      {0.9999, "[  999.900m]"},   {4.8e-5, "[   48.000\xB5]"},
      {1.0, "[    1.000 ]"},      {-1.0, "[   -1.000 ]"},
      {999.9999, "[ 1000.000 ]"}, {1000.0, "[    1.000k]"},
      {-1000.0, "[   -1.000k]"},  {6378137.0, "[    6.378M]"},
      {9.99e23, "[  999.000Z]"},  {1e24, "[  999.999Y]"},
      {5e24, "[  999.999Y]"},     {-5e24, "[ -999.999Y]"},
      {1e30, "[  999.999Y]"},     {kInf, "[  999.999Y]"},
      {-kInf, "[ -999.999Y]"},    {std::nan(""), "[      nan ]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(Format(c.value), c.expected);
  }
}

// A line that does not fit is cut short and still terminated; nothing is
// written past the given size.
TEST(FormatSITest, StaysWithinTheDestination) {
  const std::string full = "x:      48.000\xB5T";
  for (std::size_t size : {0u, 1u, 2u, 5u, 16u, 17u, 18u}) {
    SCOPED_TRACE(size);
    char buffer[32];
    std::memset(buffer, '#', sizeof buffer);
    FormatSI(buffer, size, "x:   %9.3f%cT", 4.8e-5);
    if (size == 0) {
      EXPECT_EQ(buffer[0], '#');
      continue;
    }
    const std::size_t kept = std::min(size - 1, full.size());
    EXPECT_EQ(std::string(buffer), full.substr(0, kept));
    for (std::size_t i = kept + 1; i < sizeof buffer; ++i) {
      ASSERT_EQ(buffer[i], '#') << "byte " << i;
    }
  }
}

TEST(FormatSITest, NullArgumentsWriteNothingOrAnEmptyLine) {
  FormatSI(nullptr, 16, "%9.3f%c", 1.0);
  char buffer[4] = {'#', '#', '#', '#'};
  FormatSI(buffer, sizeof buffer, nullptr, 1.0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], '#');
}

}  // namespace
}  // namespace norvane
