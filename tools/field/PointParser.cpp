#include "tools/field/PointParser.hpp"

#include <GeographicLib/DMS.hpp>

#include <cmath>
#include <cstddef>
#include <exception>
#include <utility>

namespace norvane::tools {
namespace {

using GeographicLib::DMS;

constexpr std::size_t kMaxColumns = 4;
constexpr std::size_t kMaxQuotedBytes = 32;
constexpr const char* kNotAnAngle = "is not a number or an angle";

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The token in quotes, safe to print on one line of a terminal.
std::string Quote(std::string_view token) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string quoted = "'";
  for (std::size_t i = 0; i < token.size() && i < kMaxQuotedBytes; ++i) {
    const auto byte = static_cast<unsigned char>(token[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
      quoted += static_cast<char>(byte);
    } else {
      quoted += "\\x";
      quoted += kHex[byte >> 4];
      quoted += kHex[byte & 0xF];
    }
  }
  if (token.size() > kMaxQuotedBytes) quoted += "...";
  quoted += '\'';
  return quoted;
}

ParsedLine Error(std::string message) {
  ParsedLine parsed{};
  parsed.kind = LineKind::kError;
  parsed.error = std::move(message);
  return parsed;
}

ParsedLine Point(const GeodeticPoint& point) {
  ParsedLine parsed{};
  parsed.kind = LineKind::kPoint;
  parsed.point = point;
  return parsed;
}

ParsedLine Blank() {
  ParsedLine parsed{};
  parsed.kind = LineKind::kBlank;
  return parsed;
}

ParsedLine Problem(const char* column, std::string_view token,
                   const char* problem) {
  return Error(std::string(column) + " " + Quote(token) + " " + problem);
}

// An angle as DMS reads it, with the hemisphere it names, if any.
const char* ParseAngle(std::string_view token, double& value,
                       DMS::flag& hemisphere) {
  hemisphere = DMS::NONE;
  const char* problem = ParseFiniteNumber(token, value);
  if (problem == nullptr || problem != std::string_view("is not a number"))
    return problem;
  // DMS reads a string as C text would, up to a NUL, and trims spaces; a
  // field is whole.  Nor does the library's reader survive a field that
  // mixes its two notations (1"2:3:4 reads past its own arrays): colons,
  // at most two, go with no degree, minute or second marks.
  int colons = 0;
  bool marks = false;
  for (const char c : token) {
    if (c == '\0' || IsSpace(c)) return kNotAnAngle;
    colons += c == ':';
    marks |= c == 'd' || c == 'D' || c == '\'' || c == '"' || c == '*' ||
             static_cast<unsigned char>(c) >= 0x80;
  }
  if (colons > 2 || (colons > 0 && marks)) return kNotAnAngle;
  try {
    const double angle = DMS::Decode(std::string(token), hemisphere);
    if (!std::isfinite(angle)) return "is not finite";
    value = angle;
    return nullptr;
  } catch (const std::exception&) {
    return kNotAnAngle;
  }
}

// LAT and LON from two fields; a hemisphere letter may swap them.
ParsedLine ParseLatLon(std::string_view first, std::string_view second,
                       GeodeticPoint& point) {
  double a = 0.0;
  double b = 0.0;
  DMS::flag aHemisphere;
  DMS::flag bHemisphere;
  if (const char* problem = ParseAngle(first, a, aHemisphere))
    return Problem("LAT", first, problem);
  if (const char* problem = ParseAngle(second, b, bHemisphere))
    return Problem("LON", second, problem);
  std::string_view latitudeText = first;
  if (aHemisphere != DMS::NONE || bHemisphere != DMS::NONE) {
    if (aHemisphere == bHemisphere) {
      return Error("LAT " + Quote(first) + " and LON " + Quote(second) +
                   " name the same kind of hemisphere");
    }
    // GeographicLib pairs them: N and S mark a latitude, E and W a
    // longitude, whichever comes first.
    try {
      DMS::DecodeLatLon(std::string(first), std::string(second), a, b);
    } catch (const std::exception&) {
      a = 91.0;  // only a latitude out of range is left to fail
    }
    if (aHemisphere == DMS::LONGITUDE || bHemisphere == DMS::LATITUDE)
      latitudeText = second;
  }
  if (!(a >= -90.0 && a <= 90.0))
    return Error("LAT " + Quote(latitudeText) + " is outside [-90, 90]");
  point.latitude = a;
  point.longitude = b;
  return Point(point);
}

// The fields of a line, at most kMaxColumns of them kept; the comment, if
// any, becomes the label.
struct Fields {
  std::string_view tokens[kMaxColumns];
  std::size_t count = 0;
  bool labelled = false;
  std::string_view label;
};

Fields Split(std::string_view line) {
  Fields fields;
  const std::size_t comment = line.find('#');
  if (comment != std::string_view::npos) {
    fields.labelled = true;
    fields.label = line.substr(comment + 1);
    while (!fields.label.empty() && IsSpace(fields.label.back()))
      fields.label.remove_suffix(1);
    line = line.substr(0, comment);
  }
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && IsSpace(line[i])) ++i;
    if (i == line.size()) break;
    const std::size_t start = i;
    while (i < line.size() && !IsSpace(line[i])) ++i;
    if (fields.count < kMaxColumns)
      fields.tokens[fields.count] = line.substr(start, i - start);
    ++fields.count;
  }
  return fields;
}

ParsedLine Labelled(ParsedLine parsed, const Fields& fields) {
  parsed.labelled = fields.labelled;
  parsed.label = fields.label;
  return parsed;
}

}  // namespace

ParsedLine ParsePointLine(std::string_view line, double defaultYear) {
  const Fields fields = Split(line);
  if (fields.count == 0) return Labelled(Blank(), fields);
  return Labelled(ParsePointFields(fields.tokens, fields.count, defaultYear),
                  fields);
}

ParsedLine ParsePointFields(const std::string_view* fields, std::size_t count,
                            double defaultYear) {
  if (count < 3 || count > kMaxColumns)
    return Error("expected 3 or 4 numbers (LAT LON ALT [YEAR]), found " +
                 std::to_string(count) + (count == 1 ? " field" : " fields"));
  GeodeticPoint point{0.0, 0.0, 0.0, defaultYear};
  ParsedLine parsed = ParseLatLon(fields[0], fields[1], point);
  if (parsed.kind != LineKind::kPoint) return parsed;
  if (const char* problem = ParseFiniteNumber(fields[2], point.altitude))
    return Problem("ALT", fields[2], problem);
  if (count == 4) {
    if (const char* problem = ParseYear(fields[3], point.year))
      return Problem("YEAR", fields[3], problem);
  }
  parsed.point = point;
  return parsed;
}

ParsedLine ParseCircleFields(const std::string_view (&fields)[3]) {
  GeodeticPoint point{0.0, 0.0, 0.0, 0.0};
  DMS::flag hemisphere;
  if (const char* problem = ParseAngle(fields[0], point.latitude, hemisphere))
    return Problem("LAT", fields[0], problem);
  if (hemisphere == DMS::LONGITUDE)
    return Problem("LAT", fields[0], "names a longitude");
  if (!(point.latitude >= -90.0 && point.latitude <= 90.0))
    return Problem("LAT", fields[0], "is outside [-90, 90]");
  if (const char* problem = ParseFiniteNumber(fields[1], point.altitude))
    return Problem("ALT", fields[1], problem);
  if (const char* problem = ParseYear(fields[2], point.year))
    return Problem("YEAR", fields[2], problem);
  return Point(point);
}

ParsedLine ParseLongitudeLine(std::string_view line) {
  const Fields fields = Split(line);
  if (fields.count == 0) return Labelled(Blank(), fields);
  if (fields.count != 1) {
    return Labelled(Error("expected 1 number (LON), found " +
                          std::to_string(fields.count) + " fields"),
                    fields);
  }
  GeodeticPoint point{0.0, 0.0, 0.0, 0.0};
  DMS::flag hemisphere;
  const std::string_view token = fields.tokens[0];
  if (const char* problem = ParseAngle(token, point.longitude, hemisphere))
    return Labelled(Problem("LON", token, problem), fields);
  if (hemisphere == DMS::LATITUDE)
    return Labelled(Problem("LON", token, "names a latitude"), fields);
  return Labelled(Point(point), fields);
}

}  // namespace norvane::tools
