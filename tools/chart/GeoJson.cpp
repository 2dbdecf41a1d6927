#include "tools/chart/GeoJson.hpp"

#include <charconv>
#include <cstdio>

namespace norvane::chart {
namespace {

void AppendNumber(std::string& out, double value) {
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

// Text between quotes; the names written here hold no quote, backslash or
// control character, but a model's name comes from elsewhere.
void AppendString(std::string& out, const std::string& text) {
  out += '"';
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += c;
    }
  }
  out += '"';
}

void AppendPart(std::string& out, const std::vector<GeoPoint>& part) {
  out += '[';
  for (std::size_t k = 0; k < part.size(); ++k) {
    if (k > 0) out += ',';
    out += '[';
    AppendNumber(out, part[k].lon);
    out += ',';
    AppendNumber(out, part[k].lat);
    out += ']';
  }
  out += ']';
}

void AppendFeature(std::string& out,
                   const std::vector<std::vector<GeoPoint>>& parts,
                   double value, const ContourMetadata& metadata) {
  out += "{\"type\":\"Feature\",\"properties\":{\"element\":";
  AppendString(out, metadata.element);
  out += ",\"value\":";
  AppendNumber(out, value);
  out += ",\"unit\":";
  AppendString(out, metadata.unit);
  out += ",\"model\":";
  AppendString(out, metadata.model);
  out += ",\"year\":";
  AppendNumber(out, metadata.year);
  out += "},\"geometry\":";
  if (parts.size() == 1) {
    out += "{\"type\":\"LineString\",\"coordinates\":";
    AppendPart(out, parts.front());
  } else {
    out += "{\"type\":\"MultiLineString\",\"coordinates\":[";
    for (std::size_t k = 0; k < parts.size(); ++k) {
      if (k > 0) out += ',';
      AppendPart(out, parts[k]);
    }
    out += ']';
  }
  out += "}}";
}

}  // namespace

std::string ContoursToGeoJson(const std::vector<ContourLine>& lines,
                              const ContourMetadata& metadata) {
  std::string out = "{\"type\":\"FeatureCollection\",\"features\":[";
  bool first = true;
  for (std::size_t begin = 0; begin < lines.size();) {
    std::size_t end = begin;
    std::vector<std::vector<GeoPoint>> parts;
    while (end < lines.size() && lines[end].value == lines[begin].value) {
      for (auto& part : SplitAtAntimeridian(lines[end])) {
        parts.push_back(std::move(part));
      }
      ++end;
    }
    if (!parts.empty()) {
      if (!first) out += ",\n";
      first = false;
      AppendFeature(out, parts, lines[begin].value, metadata);
    }
    begin = end;
  }
  out += "]}\n";
  return out;
}

}  // namespace norvane::chart
