#include "tools/chart/GraticuleLayer.hpp"

#include <cmath>
#include <string>
#include <vector>

#include "common/Pi.hpp"

namespace norvane::chart {
namespace {

// "30°E": the magnitude with the hemisphere's letter, none on 0° and 180°.
std::string FormatAngle(double degrees, const char* positive,
                        const char* negative) {
  const double magnitude = std::fabs(degrees);
  std::string text = FormatLevel(magnitude) + "\u00b0";
  if (magnitude == 0.0 || magnitude == 180.0) return text;
  return text + (degrees > 0 ? positive : negative);
}

}  // namespace

void DrawGraticule(cairo_t* cr, const ChartFrame& frame) {
  const Projection& map = frame.Map();
  cairo_new_path(cr);
  for (int lon = -180; lon <= 180; lon += 30) {
    const Pixel a = map.Project(lon, map.MinLatitude());
    const Pixel b = map.Project(lon, map.MaxLatitude());
    cairo_move_to(cr, a.x, a.y);
    cairo_line_to(cr, b.x, b.y);
  }
  for (double lat : frame.Parallels()) {
    const Pixel a = map.Project(-180.0, lat);
    cairo_move_to(cr, a.x, a.y);
    frame.LineTo(cr, {-180.0, lat}, {180.0, lat});
  }
  SetColour(cr, kGraticule);
  cairo_set_line_width(cr, 0.05 * frame.Font());
  cairo_stroke(cr);
}

void DrawGraticuleLabels(cairo_t* cr, const ChartFrame& frame) {
  const Projection& map = frame.Map();
  const double font = frame.Font();
  SetColour(cr, kInk);
  const double size = 0.85 * font;
  if (!frame.Polar()) {
    const double bottom = map.Top() + map.Height();
    for (int lon = -180; lon <= 180; lon += 30) {
      const Pixel p = map.Project(lon, 0.0);
      ShowText(cr, FormatAngle(lon, "E", "W"), {p.x, bottom + 0.4 * font}, size,
               0.5, 0.0);
    }
    std::vector<double> parallels = frame.Parallels();
    parallels.push_back(map.MinLatitude());
    parallels.push_back(map.MaxLatitude());
    for (double lat : parallels) {
      const Pixel p = map.Project(-180.0, lat);
      ShowText(cr, FormatAngle(lat, "N", "S"), {p.x - 0.4 * font, p.y}, size,
               1.0, 0.5);
    }
    return;
  }
  const Pixel c = frame.Centre();
  const double radius = 0.5 * map.Width();
  const double south =
      frame.Content().projection == ProjectionKind::kSouthPolar ? -1.0 : 1.0;
  for (int lon = -150; lon <= 180; lon += 30) {
    const double a = lon * kPi / 180.0;
    const double r = radius + kMeridianLabelGap * font;
    ShowText(cr, FormatAngle(lon, "E", "W"),
             {c.x + r * std::sin(a), c.y + south * r * std::cos(a)}, size);
  }
  for (double lat : frame.Parallels()) {
    ShowText(cr, FormatAngle(lat, "N", "S"), frame.LatitudeLabel(lat), size,
             0.5, 0.5, true);
  }
}

}  // namespace norvane::chart
