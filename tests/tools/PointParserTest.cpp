#include "tools/PointParser.hpp"

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
  };
  for (const GoodLine& c : cases) {
    SCOPED_TRACE(c.text);
    const ParsedLine parsed = ParsePointLine(c.text, kYear);
    ASSERT_EQ(parsed.kind, LineKind::kPoint) << parsed.error;
    EXPECT_EQ(parsed.point.latitude, c.point.latitude);
    EXPECT_EQ(parsed.point.longitude, c.point.longitude);
    EXPECT_EQ(parsed.point.altitude, c.point.altitude);
    EXPECT_EQ(parsed.point.year, c.point.year);
  }
}

TEST(PointParserTest, BlankAndCommentLinesAreBlank) {
  for (const char* text : {"", "   ", " \t\r\v\f", "# a comment", "#40 0 0"}) {
    EXPECT_EQ(ParsePointLine(text, kYear).kind, LineKind::kBlank) << text;
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
      {"0 0 0 0x7D6", "YEAR '0x7D6' is not a number"},
      {"40abc 0 0", "LAT '40abc' is not a number"},
      {"40 1,5 0", "LON '1,5' is not a number"},
      {"+-5 0 0", "LAT '+-5' is not a number"},
      {"++5 0 0", "LAT '++5' is not a number"},
      {"+ 0 0", "LAT '+' is not a number"},
      {"1e 0 0", "LAT '1e' is not a number"},
      {std::string("4\0 0 0", 6), "LAT '4\\x00' is not a number"},
      {"\xC2\xB0 0 0", "LAT '\\xC2\\xB0' is not a number"},
      {"a\\b 0 0", "LAT 'a\\x5Cb' is not a number"},
      {std::string(40, '7') + "x 0 0",
       "LAT '" + std::string(32, '7') + "...' is not a number"},
  };
  for (const BadLine& c : cases) {
    SCOPED_TRACE(c.text);
    const ParsedLine parsed = ParsePointLine(c.text, kYear);
    EXPECT_EQ(parsed.kind, LineKind::kError);
    EXPECT_EQ(parsed.error, c.error);
  }
}

TEST(PointParserTest, FieldsAreWholeNumbers) {
  const std::string_view spaced[] = {"40 ", "0", "0"};
  EXPECT_EQ(ParsePointFields(spaced, 3, kYear).error,
            "LAT '40 ' is not a number");
  const std::string_view comment[] = {"40", "#", "0"};
  EXPECT_EQ(ParsePointFields(comment, 3, kYear).error,
            "LON '#' is not a number");
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
