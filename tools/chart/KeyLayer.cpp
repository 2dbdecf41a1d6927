#include "tools/chart/KeyLayer.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

#include "tools/chart/WeakField.hpp"

namespace norvane::chart {
namespace {

const char* ProjectionTitle(ProjectionKind projection) {
  switch (projection) {
    case ProjectionKind::kPlateCarree:
      return "Plate carr\u00e9e";
    case ProjectionKind::kMercator:
      return "Mercator";
    case ProjectionKind::kNorthPolar:
      return "North polar stereographic";
    case ProjectionKind::kSouthPolar:
      return "South polar stereographic";
  }
  return "";
}

// Writes key text from x, centred on y; returns where it ends.
double KeyText(cairo_t* cr, const ChartFrame& frame, const char* text, double x,
               double y) {
  SetColour(cr, kInk);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  ShowText(cr, text, {x, y}, 0.85 * frame.Font(), 0.0, 0.5);
  return x + e.x_advance;
}

}  // namespace

void DrawTitles(cairo_t* cr, const ChartFrame& frame) {
  const ChartContent& content = frame.Content();
  const double font = frame.Font();
  SetColour(cr, kInk);
  ShowText(cr, ChartTitle(content), {0.5 * frame.ImageWidth(), 0.6 * font},
           1.5 * font, 0.5, 0.0);
  // No space before a degree sign, one before other units.
  std::string unit = UnitSymbol(content.quantity);
  if (unit != "\u00b0") unit = " " + unit;
  const std::string heavier =
      content.quantity.uncertainty
          ? "at 1\u00b0, 2\u00b0 and 5\u00b0"
          : "every " + FormatLevel(kMajorEvery * content.interval) + unit;
  char line[256];
  std::snprintf(line, sizeof line,
                "Contour interval %s%s, heavier lines %s.  "
                "Altitude %g km%s.  %s projection.",
                FormatLevel(content.interval).c_str(), unit.c_str(),
                heavier.c_str(), content.altitude,
                content.aboveSeaLevel ? " above mean sea level" : "",
                ProjectionTitle(content.projection));
  ShowText(cr, line, {0.5 * frame.ImageWidth(), 2.45 * font}, 0.9 * font, 0.5,
           0.0);
}

void DrawKey(cairo_t* cr, const ChartFrame& frame) {
  const ChartContent& content = frame.Content();
  const double font = frame.Font();
  const bool declination = content.quantity.element == Element::kD &&
                           !content.quantity.rates &&
                           !content.quantity.uncertainty;
  const struct {
    Colour colour;
    double width;
    const char* text;
  } lines[] = {{kPositive, 0.12,
                declination                    ? "east (positive)"
                : content.quantity.uncertainty ? "one standard deviation of D"
                                               : "positive"},
               {kNegative, 0.12, declination ? "west (negative)" : "negative"},
               {kZero, 0.22, declination ? "agonic line (zero)" : "zero"}};
  // Only the kinds of line the map shows: a polar map leaves out the lines
  // of the other hemisphere.
  bool present[3] = {false, false, false};
  for (const ContourLine& line : *content.lines) {
    bool& kind = present[line.value > 0.0 ? 0 : line.value < 0.0 ? 1 : 2];
    kind =
        kind || std::any_of(line.points.begin(), line.points.end(),
                            [&](const GeoPoint& p) { return frame.OnMap(p); });
  }
  double x = frame.Map().Left();
  const double y =
      frame.ImageHeight() - (frame.ShowsWeakZones() ? 3.0 : 1.3) * font;
  cairo_set_font_size(cr, 0.85 * font);
  for (int kind = 0; kind < 3; ++kind) {
    if (!present[kind]) continue;
    const auto& line = lines[kind];
    SetColour(cr, line.colour);
    cairo_set_line_width(cr, line.width * font);
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + 2.5 * font, y);
    cairo_stroke(cr);
    x = KeyText(cr, frame, line.text, x + 3.0 * font, y) + 1.5 * font;
  }
  if (!frame.ShowsWeakZones()) return;
  x = frame.Map().Left();
  const double y2 = frame.ImageHeight() - 1.3 * font;
  const struct {
    Colour colour;
    const char* text;
  } zones[] = {{kCaution, "H below 6000 nT: use a compass with caution"},
               {kUnreliable, "H below 2000 nT: a compass is unreliable"}};
  static_assert(kCautionHorizontal == 6000.0 && kUnreliableHorizontal == 2000.0,
                "the key names the thresholds");
  for (const auto& zone : zones) {
    // The key's swatch is opaque: the zones' own shade over white.
    const Colour shade{1.0 - kWeakZoneOpacity * (1.0 - zone.colour.r),
                       1.0 - kWeakZoneOpacity * (1.0 - zone.colour.g),
                       1.0 - kWeakZoneOpacity * (1.0 - zone.colour.b)};
    SetColour(cr, shade);
    cairo_rectangle(cr, x, y2 - 0.5 * font, 2.5 * font, font);
    cairo_fill(cr);
    x = KeyText(cr, frame, zone.text, x + 3.0 * font, y2) + 1.5 * font;
  }
}

}  // namespace norvane::chart
