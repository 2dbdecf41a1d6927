// norvane-field's line parsers (points, and longitudes along a circle) with
// any bytes as the line, and its number and year parsers with any bytes as
// the token.  Decimal numbers, angles in degrees, minutes and seconds with
// hemisphere letters, and dates all go through.
//
// Input: the line, whole.
//
// Properties: the line is a point, a blank line or an error, never anything
// else.  A point is finite with its latitude in [-90, 90] and, printed back
// with full precision, parses to itself.  A blank line holds only spaces and
// control whitespace before any '#'.  An error comes with a non-empty,
// bounded, one-line message of printable ASCII.  A line's label is exactly
// the text after its first '#' less trailing whitespace.  A token is a
// finite number or year, or one of the parsers' reasons.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "Fuzz.hpp"
#include "tools/field/PointParser.hpp"

namespace {

using norvane::fuzz::Require;
using norvane::tools::LineKind;
using norvane::tools::ParsedLine;

constexpr double kDefaultYear = 2006.0;
// Bytes: a message quotes at most two fields (LAT and LON), each cut to 32
// bytes of which every one may be escaped as \xHH, plus its own words.
constexpr std::size_t kLongestQuote = 32 * 4 + 5;
constexpr std::size_t kLongestMessage = 2 * kLongestQuote + 64;

void CheckPoint(const ParsedLine& parsed) {
  const auto& p = parsed.point;
  Require(parsed.error.empty(), "a point has no message");
  Require(std::isfinite(p.latitude) && std::isfinite(p.longitude) &&
              std::isfinite(p.altitude) && std::isfinite(p.year),
          "a point is finite");
  Require(p.latitude >= -90.0 && p.latitude <= 90.0, "latitude in range");
  char text[128];
  std::snprintf(text, sizeof text, "%.17g %.17g %.17g %.17g", p.latitude,
                p.longitude, p.altitude, p.year);
  const ParsedLine again = norvane::tools::ParsePointLine(text, kDefaultYear);
  Require(again.kind == LineKind::kPoint &&
              std::memcmp(&again.point, &p, sizeof p) == 0,
          "a point printed back parses to itself");
}

void CheckBlank(const ParsedLine& parsed, std::string_view line) {
  Require(parsed.error.empty(), "a blank line has no message");
  const std::string_view content = line.substr(0, line.find('#'));
  Require(content.find_first_not_of(" \t\r\v\f") == std::string_view::npos,
          "a blank line is whitespace up to its comment");
}

void CheckError(const ParsedLine& parsed) {
  Require(!parsed.error.empty() && parsed.error.size() <= kLongestMessage,
          "an error has a short message");
  for (const char c : parsed.error) {
    Require(c >= 0x20 && c < 0x7F, "the message is printable, one line");
  }
}

void CheckLabel(const ParsedLine& parsed, std::string_view line) {
  const std::size_t hash = line.find('#');
  Require(parsed.labelled == (hash != std::string_view::npos),
          "labelled exactly when there is a '#'");
  if (!parsed.labelled) return;
  std::string_view label = line.substr(hash + 1);
  while (!label.empty() && std::strchr(" \t\r\v\f", label.back()) != nullptr &&
         label.back() != '\0')
    label.remove_suffix(1);
  Require(parsed.label == label, "the label is the comment");
}

void Check(const ParsedLine& parsed, std::string_view line) {
  switch (parsed.kind) {
    case LineKind::kPoint:
      CheckPoint(parsed);
      break;
    case LineKind::kBlank:
      CheckBlank(parsed, line);
      break;
    case LineKind::kError:
      CheckError(parsed);
      break;
    default:
      Require(false, "a point, a blank line or an error");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const ParsedLine parsed = norvane::tools::ParsePointLine(line, kDefaultYear);
  Check(parsed, line);
  CheckLabel(parsed, line);

  const ParsedLine longitude = norvane::tools::ParseLongitudeLine(line);
  if (longitude.kind == LineKind::kPoint) {
    Require(std::isfinite(longitude.point.longitude), "a finite longitude");
  } else {
    Check(longitude, line);
  }
  CheckLabel(longitude, line);

  double value = 0.0;
  const char* problem = norvane::tools::ParseFiniteNumber(line, value);
  Require(problem == nullptr
              ? std::isfinite(value)
              : std::strcmp(problem, "is not a number") == 0 ||
                    std::strcmp(problem, "is out of range") == 0 ||
                    std::strcmp(problem, "is not finite") == 0,
          "a token is a finite number or a known reason");
  double year = 0.0;
  Require(
      norvane::tools::ParseYear(line, year) != nullptr || std::isfinite(year),
      "a year is finite");
  return 0;
}
