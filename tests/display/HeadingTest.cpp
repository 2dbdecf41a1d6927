#include "display/Heading.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace norvane {
namespace {

// The page's own turn, written out: slightly less than the true 2 pi.
constexpr double kTurn = 6.28318530717958;

// Ordinary headings step by whole turns of the page's turn, so the results
// are exact to that step.
TEST(HeadingTest, StepsOrdinaryHeadingsIntoOneTurn) {
  const struct {
    double heading;
    double expected;
  } cases[] = {
      {0.0, 0.0},
      {-0.1, kTurn - 0.1},
      {7.0, 7.0 - kTurn},
      {kTurn, kTurn},
      {6.283185307179586, 6.283185307179586 - kTurn},
      {-kTurn, 0.0},
      {0.1 - 0.3, 0.1 - 0.3 + kTurn},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.heading);
    EXPECT_EQ(NormaliseHeading(c.heading), c.expected);
  }
}

TEST(HeadingTest, ReducesHugeHeadingsWithoutLooping) {
  for (double heading : {1609.0, -1609.0, 1e17, -1e17, 1e300, -1e300,
                         std::numeric_limits<double>::max(),
                         std::numeric_limits<double>::lowest()}) {
    SCOPED_TRACE(heading);
    const double turned = NormaliseHeading(heading);
    EXPECT_GE(turned, 0.0);
    EXPECT_LE(turned, kTurn);
  }
  EXPECT_NEAR(NormaliseHeading(1609.0), std::fmod(1609.0, kTurn), 1e-12);
}

TEST(HeadingTest, LeavesNonFiniteHeadingsAlone) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(std::isnan(NormaliseHeading(std::nan(""))));
  EXPECT_EQ(NormaliseHeading(kInf), kInf);
  EXPECT_EQ(NormaliseHeading(-kInf), -kInf);
}

}  // namespace
}  // namespace norvane
