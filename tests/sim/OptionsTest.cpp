// The stand-in host's command line, parsed in process.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "common/Pi.hpp"
#include "sim/Options.hpp"

namespace norvane::sim {
namespace {

constexpr double kDegree = kPi / 180.0;

struct Parsed {
  std::optional<int> status;
  SimOptions options;
  std::string out;
  std::string err;
};

Parsed Parse(std::vector<const char*> args) {
  args.insert(args.begin(), "norvane-sim");
  Parsed parsed;
  std::ostringstream out;
  std::ostringstream err;
  parsed.status = ParseOptions(static_cast<int>(args.size()), args.data(),
                               parsed.options, out, err);
  parsed.out = out.str();
  parsed.err = err.str();
  return parsed;
}

TEST(OptionsTest, DefaultsAreAVesselOnTheGround) {
  const Parsed parsed = Parse({});
  ASSERT_FALSE(parsed.status);
  const SimOptions& o = parsed.options;
  EXPECT_DOUBLE_EQ(o.vessel.latitude, 28.6 * kDegree);
  EXPECT_DOUBLE_EQ(o.vessel.longitude, -80.6 * kDegree);
  EXPECT_DOUBLE_EQ(o.vessel.radius, 6378137.0);
  EXPECT_DOUBLE_EQ(o.vessel.heading, 90.0 * kDegree);
  EXPECT_EQ(o.width, 256u);
  EXPECT_EQ(o.height, 256u);
  EXPECT_EQ(o.modulePath, "");
  EXPECT_EQ(o.pngFile, "");
  EXPECT_EQ(o.svgFile, "");
  EXPECT_FALSE(o.dump);
}

TEST(OptionsTest, ValuesReachTheVesselAndTheSurface) {
  const Parsed parsed =
      Parse({"--lat", "-90", "--lon=180", "--alt", "400.5", "--heading",
             "-725.25", "--size", "65535x1", "--module", "m.so", "--png",
             "p.png", "--svg", "p.svg", "--dump"});
  ASSERT_FALSE(parsed.status) << parsed.err;
  const SimOptions& o = parsed.options;
  EXPECT_DOUBLE_EQ(o.vessel.latitude, -90 * kDegree);
  EXPECT_DOUBLE_EQ(o.vessel.longitude, 180 * kDegree);
  EXPECT_DOUBLE_EQ(o.vessel.radius, 6378137.0 + 400500.0);
  EXPECT_DOUBLE_EQ(o.vessel.heading, -725.25 * kDegree);
  EXPECT_EQ(o.width, 65535u);
  EXPECT_EQ(o.height, 1u);
  EXPECT_EQ(o.modulePath, "m.so");
  EXPECT_EQ(o.pngFile, "p.png");
  EXPECT_EQ(o.svgFile, "p.svg");
  EXPECT_TRUE(o.dump);

  const Parsed byRadius = Parse({"--rad", "7e6"});
  ASSERT_FALSE(byRadius.status) << byRadius.err;
  EXPECT_DOUBLE_EQ(byRadius.options.vessel.radius, 7e6);
}

TEST(OptionsTest, HelpShowsTheDefaults) {
  const Parsed parsed = Parse({"--help"});
  EXPECT_EQ(parsed.status, 0);
  for (const char* text : {"--lat", "28.6", "-80.6", "256x256", "--dump"}) {
    EXPECT_NE(parsed.out.find(text), std::string::npos) << text;
  }
  EXPECT_EQ(parsed.err, "");
}

TEST(OptionsTest, BadCommandLinesEndWithStatus2AndTheUsage) {
  const struct {
    std::vector<const char*> args;
    const char* says;
  } cases[] = {
      {{"--lat", "north"}, "not a finite number"},
      {{"--lat", "90.5"}, "outside"},
      {{"--lat", "-91"}, "outside"},
      {{"--lat", "nan"}, "not a finite number"},
      {{"--lat", "12abc"}, "not a finite number"},
      {{"--lat", " 12"}, "not a finite number"},
      {{"--lat", ""}, "not a finite number"},
      {{"--lon", "180.01"}, "outside"},
      {{"--heading", "inf"}, "not a finite number"},
      {{"--alt", "1e306"}, "positive, finite"},
      {{"--alt", "-6378.137"}, "positive, finite"},
      {{"--rad", "0"}, "positive, finite"},
      {{"--rad", "-1"}, "positive, finite"},
      {{"--rad", ""}, "not a finite number"},
      {{"--alt", "1", "--rad", "7e6"}, "excludes"},
      {{"--size", "256"}, "not WxH"},
      {{"--size", "0x256"}, "1 to 65535"},
      {{"--size", "256x65536"}, "1 to 65535"},
      {{"--size", "-1x256"}, "1 to 65535"},
      {{"--size", "256x"}, "1 to 65535"},
      {{"--size", "256x256x2"}, "1 to 65535"},
      {{"--size", "4294967552x1"}, "1 to 65535"},
      {{"--lat"}, "--lat"},
      {{"--speed", "3"}, "--speed"},
      {{"extra"}, "extra"},
  };
  for (const auto& c : cases) {
    const Parsed parsed = Parse(c.args);
    const std::string line = c.args.empty() ? "" : c.args.front();
    EXPECT_EQ(parsed.status, 2) << line;
    EXPECT_NE(parsed.err.find(c.says), std::string::npos)
        << line << ": " << parsed.err;
    EXPECT_NE(parsed.err.find("Usage"), std::string::npos) << line;
    EXPECT_EQ(parsed.out, "") << line;
  }
}

}  // namespace
}  // namespace norvane::sim
