#include "tools/common/Steps.hpp"
#include "tools/field/Grid.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace norvane::tools {
namespace {

TEST(GridTest, CountsBothEndsWhateverTheRounding) {
  const struct {
    double first, last, step;
    std::uint64_t count;
  } cases[] = {{0, 1, 0.1, 11},    {-90, 90, 0.5, 361},    {0, 0, 1, 1},
               {0, 0.95, 0.1, 10}, {-180, 180, 0.3, 1201}, {0.3, 0.9, 0.3, 3},
               {10, 10.5, 1, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(StepCount(c.first, c.last, c.step), c.count) << c.step;
    // The last value is the last bound exactly when the steps reach it.
    const double last = StepValue(c.first, c.last, c.step, c.count - 1);
    EXPECT_LE(last, c.last);
    EXPECT_EQ(last == c.last,
              std::fmod(c.last - c.first + 1e-12, c.step) < 1e-9);
  }
  EXPECT_EQ(StepValue(0, 1, 0.1, 3), 0.30000000000000004);  // not 0.1 + ...
}

TEST(GridTest, RefusesBadGrids) {
  const struct {
    PointGrid grid;
    const char* problem;
  } cases[] = {
      {{-90, 90, 0.5, -180, 180, 0.5}, ""},
      {{0, 1, 0, 0, 1, 1}, "the steps must be positive"},
      {{0, 1, 1, 0, 1, -1}, "the steps must be positive"},
      {{-91, 1, 1, 0, 1, 1}, "latitudes must lie in [-90, 90]"},
      {{0, 90.5, 1, 0, 1, 1}, "latitudes must lie in [-90, 90]"},
      {{1, 0, 1, 0, 1, 1}, "LAT1 is below LAT0"},
      {{0, 1, 1, 1, 0, 1}, "LON1 is below LON0"},
      {{0, 1, NAN, 0, 1, 1}, "every value must be finite"},
      {{0, 1, 1, 0, INFINITY, 1}, "every value must be finite"},
      {{-90, 90, 1e-300, 0, 1, 1}, "the grid has more than 4294967296 points"},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckGrid(c.grid), c.problem);
}

TEST(GridTest, GridVariationInThePolarRegionsOnly) {
  const struct {
    double declination, latitude, longitude, expected;
  } cases[] = {{10, 55, 30, -20},    {10, 89, -30, 40},    {-170, 80, 30, 160},
               {170, 80, -30, -160}, {10, -55, 30, 40},    {-6, -80, 240, -126},
               {10, 54.9, 30, NAN},  {10, -54.9, 30, NAN}, {10, 0, 0, NAN}};
  for (const auto& c : cases) {
    const double gv = GridVariation(c.declination, c.latitude, c.longitude);
    if (std::isnan(c.expected)) {
      EXPECT_TRUE(std::isnan(gv)) << c.latitude;
    } else {
      EXPECT_DOUBLE_EQ(gv, c.expected) << c.latitude;
    }
  }
}

}  // namespace
}  // namespace norvane::tools
