#include "tools/field/PointParser.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace norvane::tools {
namespace {

constexpr double kYear = 2006.0;

struct GoodLine {
  std::string text;
  GeodeticPoint point;
};

TEST(PointParserTest, ReadsPoints) {
  const GoodLine cases[] = {
      {"40 -105 0", {40, -105, 0, kYear}},
      {"40\t-105\t0\t2010.5", {40, -105, 0, 2010.5}},
      {"  +40 -105 0.25  # Boulder", {40, -105, 0.25, kYear}},
      {"40 -105 0\r", {40, -105, 0, kYear}},
      {"90 0 0", {90, 0, 0, kYear}},
      {"-90 0 -1", {-90, 0, -1, kYear}},
      {"1e1 .5 5. 2e3", {10, 0.5, 5, 2000}},
      {"-0 1e300 35786 -1e5", {0, 1e300, 35786, -1e5}},
      {"4e-320 0 0", {4e-320, 0, 0, kYear}},
      // Degrees, minutes and seconds; hemisphere letters may swap the two.
      {"40d26'46\"N 79d58'56\"W 0",
       {40 + 26 / 60.0 + 46 / 3600.0, -(79 + 58 / 60.0 + 56 / 3600.0), 0,
        kYear}},
      {"40:26:46S 79.98 0", {-(40 + 26 / 60.0 + 46 / 3600.0), 79.98, 0, kYear}},
      {"79.98W 40:26:46N 1", {40 + 26 / 60.0 + 46 / 3600.0, -79.98, 1, kYear}},
      {"10E 40 2", {40, 10, 2, kYear}},
      {"-40d30' 5e 3", {-40.5, 5, 3, kYear}},
      {"1e 0 0", {0, 1, 0, kYear}},  // 1 degree east, not an exponent
      // Dates are the year plus (day of year - 1) / days in the year.
      {"0 0 0 2006-01-01", {0, 0, 0, 2006.0}},
      {"0 0 0 2006-07-02", {0, 0, 0, 2006 + 182 / 365.0}},
      {"0 0 0 2006-12-31", {0, 0, 0, 2006 + 364 / 365.0}},
      {"0 0 0 2008-03", {0, 0, 0, 2008 + 60 / 366.0}},
      {"0 0 0 2008-12-31", {0, 0, 0, 2008 + 365 / 366.0}},
  };
  for (const GoodLine& c : cases) {
    SCOPED_TRACE(c.text);
    const ParsedLine parsed = ParsePointLine(c.text, kYear);
    ASSERT_EQ(parsed.kind, LineKind::kPoint) << parsed.error;
    // Exact for plain numbers; DMS and dates may round differently.
    EXPECT_NEAR(parsed.point.latitude, c.point.latitude, 1e-13);
    EXPECT_NEAR(parsed.point.longitude, c.point.longitude, 1e-13);
    EXPECT_EQ(parsed.point.altitude, c.point.altitude);
    EXPECT_NEAR(parsed.point.year, c.point.year, 1e-12);
  }
}

TEST(PointParserTest, PlainNumbersAreExact) {
  const ParsedLine parsed = ParsePointLine("-0 1e300 35786 -1e5", kYear);
  EXPECT_EQ(parsed.point.longitude, 1e300);
  EXPECT_EQ(parsed.point.year, -1e5);
  EXPECT_TRUE(std::signbit(parsed.point.latitude));
}

TEST(PointParserTest, CommentsBecomeLabels) {
  struct Case {
    std::string text;
    LineKind kind;
    bool labelled;
    std::string label;
  };
  const Case cases[] = {
      {"", LineKind::kBlank, false, ""},
      {" \t\r\v\f", LineKind::kBlank, false, ""},
      {"# a comment", LineKind::kBlank, true, " a comment"},
      {"#40 0 0", LineKind::kBlank, true, "40 0 0"},
      {"40 -105 0 # Boulder, CO \r", LineKind::kPoint, true, " Boulder, CO"},
      {"40 -105 0#", LineKind::kPoint, true, ""},
      {"40 -105 0 ##2", LineKind::kPoint, true, "#2"},
      {"91 0 0 # far north", LineKind::kError, true, " far north"},
      {"40 -105 0", LineKind::kPoint, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const ParsedLine parsed = ParsePointLine(c.text, kYear);
    EXPECT_EQ(parsed.kind, c.kind);
    EXPECT_EQ(parsed.labelled, c.labelled);
    EXPECT_EQ(parsed.label, c.label);
  }
}

struct BadLine {
  std::string text;
  std::string error;
};

TEST(PointParserTest, NamesTheProblem) {
  const std::string columns = "expected 3 or 4 numbers (LAT LON ALT [YEAR]), ";
  const BadLine cases[] = {
      {"40 -105", columns + "found 2 fields"},
      {"1 2 3 4 5 # six", columns + "found 5 fields"},
      {"90.0000001 0 0", "LAT '90.0000001' is outside [-90, 90]"},
      {"-90.0000001 0 0", "LAT '-90.0000001' is outside [-90, 90]"},
      {"nan 0 0", "LAT 'nan' is not finite"},
      {"0 -inf 0", "LON '-inf' is not finite"},
      {"0 0 1e400", "ALT '1e400' is out of range"},
      {"0 0 1e-400", "ALT '1e-400' is out of range"},
      {"0 0 0 0x7D6", "YEAR '0x7D6' is not a number or a date"},
      {"0 0 0 now", "YEAR 'now' is not a number or a date"},
      {"0 0 0 2006-1-5", "YEAR '2006-1-5' is not a number or a date"},
      {"0 0 0 2006-02-29", "YEAR '2006-02-29' is not a valid date"},
      {"0 0 0 2006-13", "YEAR '2006-13' is not a valid date"},
      {"0 0 0 2006-00-10", "YEAR '2006-00-10' is not a valid date"},
      {"0 0 0 0000-01-01", "YEAR '0000-01-01' is not a valid date"},
      {"0 0 2006-01 0", "ALT '2006-01' is not a number"},
      {"0 0 1d 0", "ALT '1d' is not a number"},
      {"40abc 0 0", "LAT '40abc' is not a number or an angle"},
      {"40 1,5 0", "LON '1,5' is not a number or an angle"},
      {"40:70 0 0", "LAT '40:70' is not a number or an angle"},
      {"1\"2:3:4N 0 0", "LAT '1\"2:3:4N' is not a number or an angle"},
      {"0 40d26:46 0", "LON '40d26:46' is not a number or an angle"},
      {"1:2:3:4 0 0", "LAT '1:2:3:4' is not a number or an angle"},
      {"40d 5d5d 0", "LON '5d5d' is not a number or an angle"},
      {"+-5 0 0", "LAT '+-5' is not a number or an angle"},
      {"++5 0 0", "LAT '++5' is not a number or an angle"},
      {"+ 0 0", "LAT '+' is not a number or an angle"},
      {"1N 2S 0", "LAT '1N' and LON '2S' name the same kind of hemisphere"},
      {"1E 2W 0", "LAT '1E' and LON '2W' name the same kind of hemisphere"},
      {"91N 0 0", "LAT '91N' is outside [-90, 90]"},
      {"91d 0 0", "LAT '91d' is outside [-90, 90]"},
      {"10W 91:30 0", "LAT '91:30' is outside [-90, 90]"},
      {std::string("4\0 0 0", 6), "LAT '4\\x00' is not a number or an angle"},
      {"\xC2\xB0 0 0", "LAT '\\xC2\\xB0' is not a number or an angle"},
      {"a\\b 0 0", "LAT 'a\\x5Cb' is not a number or an angle"},
      {std::string(40, '7') + "x 0 0",
       "LAT '" + std::string(32, '7') + "...' is not a number or an angle"},
  };
  for (const BadLine& c : cases) {
    SCOPED_TRACE(c.text);
    const ParsedLine parsed = ParsePointLine(c.text, kYear);
    EXPECT_EQ(parsed.kind, LineKind::kError);
    EXPECT_EQ(parsed.error, c.error);
  }
}

TEST(PointParserTest, ReadsCirclesAndTheirLongitudes) {
  struct Case {
    std::string text;
    double longitude;  // NAN for an error
    std::string error;
  };
  const Case lines[] = {
      {"-105.5", -105.5, ""},
      {" 79d58'56\"W # Pittsburgh", -(79 + 58 / 60.0 + 56 / 3600.0), ""},
      {"540", 540, ""},
      {"1 2", NAN, "expected 1 number (LON), found 2 fields"},
      {"40N", NAN, "LON '40N' names a latitude"},
      {"inf", NAN, "LON 'inf' is not finite"},
      {"x", NAN, "LON 'x' is not a number or an angle"},
  };
  for (const Case& c : lines) {
    SCOPED_TRACE(c.text);
    const ParsedLine parsed = ParseLongitudeLine(c.text);
    EXPECT_EQ(parsed.error, c.error);
    if (std::isnan(c.longitude)) continue;
    EXPECT_NEAR(parsed.point.longitude, c.longitude, 1e-13);
  }
  EXPECT_EQ(ParseLongitudeLine("# only").kind, LineKind::kBlank);

  struct Circle {
    std::string_view fields[3];
    std::string error;
  };
  const Circle circles[] = {
      {{"40:30N", "0.5", "2008-01"}, ""},
      {{"40E", "0", "2006"}, "LAT '40E' names a longitude"},
      {{"-90.5", "0", "2006"}, "LAT '-90.5' is outside [-90, 90]"},
      {{"0", "1e999", "2006"}, "ALT '1e999' is out of range"},
      {{"0", "0", "2006-02-30"}, "YEAR '2006-02-30' is not a valid date"},
  };
  for (const Circle& c : circles) {
    EXPECT_EQ(ParseCircleFields(c.fields).error, c.error) << c.fields[0];
  }
  const GeodeticPoint circle = ParseCircleFields(circles[0].fields).point;
  EXPECT_EQ(circle.latitude, 40.5);
  EXPECT_EQ(circle.altitude, 0.5);
  EXPECT_EQ(circle.year, 2008.0);
}

TEST(PointParserTest, FieldsAreWholeNumbers) {
  const std::string_view spaced[] = {"40 ", "0", "0"};
  EXPECT_EQ(ParsePointFields(spaced, 3, kYear).error,
            "LAT '40 ' is not a number or an angle");
  const std::string_view comment[] = {"40", "#", "0"};
  EXPECT_EQ(ParsePointFields(comment, 3, kYear).error,
            "LON '#' is not a number or an angle");
  const std::string_view empty[] = {"40", "0", ""};
  EXPECT_EQ(ParsePointFields(empty, 3, kYear).error, "ALT '' is not a number");
  const std::string_view withYear[] = {"40", "0", "0", "2000"};
  EXPECT_EQ(ParsePointFields(withYear, 4, kYear).point.year, 2000.0);
}

// Whatever the bytes, the parser returns a finite point or a short,
// printable, one-line message.
TEST(PointParserTest, AnyBytesGiveAPointOrAPrintableError) {
  static constexpr char kBytes[] = "0123456789 \t\r.e+-#nainfx,\0\xFF\x80";
  const std::string alphabet(kBytes, sizeof kBytes - 1);
  std::mt19937 random(20060101);
  for (int round = 0; round < 20000; ++round) {
    std::string line(random() % 40, ' ');
    for (char& c : line) c = alphabet[random() % alphabet.size()];
    const ParsedLine parsed = ParsePointLine(line, kYear);
    if (parsed.kind == LineKind::kPoint) {
      const GeodeticPoint& p = parsed.point;
      EXPECT_LE(std::fabs(p.latitude), 90.0);
      EXPECT_TRUE(std::isfinite(p.longitude) && std::isfinite(p.altitude) &&
                  std::isfinite(p.year));
    } else if (parsed.kind == LineKind::kError) {
      EXPECT_LT(parsed.error.size(), 200u);
      for (const char c : parsed.error) ASSERT_TRUE(c >= 0x20 && c < 0x7F);
    }
  }
  const std::string huge(1 << 20, '9');
  EXPECT_EQ(ParsePointLine(huge + " 0 0", kYear).error,
            "LAT '" + std::string(32, '9') + "...' is out of range");
}

}  // namespace
}  // namespace norvane::tools
