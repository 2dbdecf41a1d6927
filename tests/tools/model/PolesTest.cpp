// The magnetic poles: the centred dipole's in closed form against hand
// computation, the dip poles against a point evaluation of H.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "common/Pi.hpp"
#include "tools/model/CoefficientFile.hpp"
#include "tools/model/LoadedModel.hpp"
#include "tools/model/Poles.hpp"
#include "testsupport/SyntheticModel.hpp"

namespace norvane {
namespace {

constexpr double kDegree = kPi / 180.0;

// A degree-1 model of epoch 2025 with these terms, nT.
LoadedModel DipoleModel(double g10, double g11, double h11) {
  const std::string text = "2025.0 TEST 01/01/2025\n1 0 " +
                           std::to_string(g10) + " 0 0 0\n1 1 " +
                           std::to_string(g11) + " " + std::to_string(h11) +
                           " 0 0\n" + std::string(48, '9') + "\n";
  return LoadedModel(ParseCoefficients(text, "dipole.cof"));
}

// The centred dipole, by hand: B0 = sqrt(g10^2 + g11^2 + h11^2), north
// latitude 90 - acos(-g10 / B0), longitude atan2(-h11, -g11), moment
// 6371.2^3 km^3 B0 1e7.
TEST(PolesTest, CentredDipole) {
  const struct {
    DipoleTerms terms;
    PolePosition north, south;
    double moment;
  } cases[] = {
      {{-30000, -2000, 5000},
       {79.82347259, -68.19859051},
       {-79.82347259, 111.80140949},
       7.88263781e22},
      {{-29500, -1500, 4600},  // close to today's field
       {80.68566694, -71.93952806},
       {-80.68566694, 108.06047194},
       7.73125281e22},
      {{-30000, 0, 0}, {90, 0}, {-90, 180}, 7.75862872e22},
      {{-30000, 1000, 0},
       {88.09084757, -180},
       {-88.09084757, 0},
       7.76293787e22},
  };
  for (const auto& c : cases) {
    const GeomagneticPoles poles = CentredDipolePoles(c.terms);
    EXPECT_NEAR(poles.north.latitude, c.north.latitude, 1e-6);
    // At a geographic pole any longitude will do.
    if (std::fabs(c.north.latitude) < 90) {
      EXPECT_NEAR(std::fabs(poles.north.longitude),
                  std::fabs(c.north.longitude), 1e-6);
      EXPECT_NEAR(std::fabs(poles.south.longitude),
                  std::fabs(c.south.longitude), 1e-6);
    }
    EXPECT_NEAR(poles.south.latitude, c.south.latitude, 1e-6);
    EXPECT_NEAR(poles.moment, c.moment, 1e-8 * c.moment);
  }
}

double HorizontalAt(const LoadedModel& model, const PolePosition& p,
                    double altitude) {
  return model
      .Evaluate(altitude, p.latitude * kDegree, p.longitude * kDegree, 2025.0,
                false)
      .field.H;
}

// Each dip pole is where H vanishes, to well under 1 nT, and the field
// points down at the north one and up at the south one.  A dipole has one
// of each, and a search from elsewhere lands on it to 1e-6 degrees; the
// synthetic models, far from dipoles, have several.
TEST(PolesTest, DipPolesAreWhereTheFieldIsVertical) {
  const struct {
    const char* name;
    LoadedModel model;
    bool dipole;
  } cases[] = {
      {"axial", DipoleModel(-30000, 0, 0), true},
      {"tilted", DipoleModel(-30000, -2000, 5000), true},
      {"near the geographic pole", DipoleModel(-30000, 3, -2), true},
      {"reversed", DipoleModel(30000, 1500, 700), true},
      {"degree 12", LoadedModel(SyntheticModel(12, 12, 2025.0, 7)), false},
      {"degree 40", LoadedModel(SyntheticModel(40, 12, 2025.0, 9)), false},
  };
  for (const auto& c : cases) {
    for (const DipPole which : {DipPole::kNorth, DipPole::kSouth}) {
      for (const double altitude : {0.0, 400.0}) {
        const std::optional<PolePosition> pole =
            FindDipPole(c.model, which, altitude, 2025.0);
        ASSERT_TRUE(pole) << c.name;
        EXPECT_LT(HorizontalAt(c.model, *pole, altitude), 1e-3) << c.name;
        EXPECT_GE(pole->longitude, -180.0);
        EXPECT_LE(pole->longitude, 180.0);
        const double z = c.model
                             .Evaluate(altitude, pole->latitude * kDegree,
                                       pole->longitude * kDegree, 2025.0, false)
                             .field.Z;
        EXPECT_EQ(z > 0, which == DipPole::kNorth) << c.name;
        if (!c.dipole) continue;
        // From 3 degrees away, across the geographic pole if near it.
        const PolePosition start{
            pole->latitude > 0 ? 87.0 : -87.0,
            std::remainder(pole->longitude + 180.0, 360.0)};
        const std::optional<PolePosition> again =
            FindDipPoleFrom(c.model, which, altitude, 2025.0, start);
        ASSERT_TRUE(again) << c.name;
        EXPECT_NEAR(again->latitude, pole->latitude, 1e-6) << c.name;
        if (std::fabs(pole->latitude) < 89.9) {
          EXPECT_NEAR(std::remainder(again->longitude - pole->longitude, 360.0),
                      0.0, 1e-6 / std::cos(pole->latitude * kDegree))
              << c.name;
        }
      }
    }
  }
  // An axial dipole's dip poles are the geographic ones.
  const std::optional<PolePosition> axial =
      FindDipPole(DipoleModel(-30000, 0, 0), DipPole::kNorth, 0.0, 2025.0);
  ASSERT_TRUE(axial);
  EXPECT_EQ(axial->latitude, 90.0);
}

// A search that starts badly finds the pole asked for or says it did not:
// never the other pole, never a point without a field.
TEST(PolesTest, ABadStartFindsThePoleOrFails) {
  const LoadedModel model = DipoleModel(-30000, -2000, 5000);
  const PolePosition north = *FindDipPole(model, DipPole::kNorth, 0.0, 2025.0);
  const PolePosition south = *FindDipPole(model, DipPole::kSouth, 0.0, 2025.0);
  const PolePosition starts[] = {south, {0, 0}, {-90, 0}, {0, 180}, {-45, 37}};
  for (const PolePosition& start : starts) {
    const std::optional<PolePosition> found =
        FindDipPoleFrom(model, DipPole::kNorth, 0.0, 2025.0, start);
    if (found) {
      EXPECT_NEAR(found->latitude, north.latitude, 1e-6)
          << start.latitude << " " << start.longitude;
      EXPECT_NEAR(found->longitude, north.longitude, 1e-5);
    }
  }
  // Starting on the south pole, the north one's search stays there: the
  // field points up, so it is refused.
  EXPECT_FALSE(FindDipPoleFrom(model, DipPole::kNorth, 0.0, 2025.0, south));
  // No field, no pole.
  const LoadedModel none = DipoleModel(0, 0, 0);
  EXPECT_FALSE(FindDipPole(none, DipPole::kNorth, 0.0, 2025.0));
  EXPECT_FALSE(FindDipPole(none, DipPole::kSouth, 0.0, 2025.0));
}

}  // namespace
}  // namespace norvane
