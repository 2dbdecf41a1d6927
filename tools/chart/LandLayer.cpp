#include "tools/chart/LandLayer.hpp"

#include "tools/chart/WeakField.hpp"

namespace norvane::chart {

void DrawLand(cairo_t* cr, const ChartFrame& frame) {
  const Coastlines* coastlines = frame.Content().coastlines;
  if (coastlines == nullptr) return;
  cairo_new_path(cr);
  for (const auto& ring : coastlines->rings) {
    if (frame.Reaches(ring)) frame.Ring(cr, ring);
  }
  SetColour(cr, kLand);
  cairo_fill(cr);
}

void DrawCoast(cairo_t* cr, const ChartFrame& frame) {
  const Coastlines* coastlines = frame.Content().coastlines;
  if (coastlines == nullptr) return;
  cairo_new_path(cr);
  for (const auto& ring : coastlines->rings) {
    if (!frame.Reaches(ring)) continue;
    bool drawing = false;
    for (std::size_t k = 0; k < ring.size(); ++k) {
      const GeoPoint& a = ring[k];
      const GeoPoint& b = ring[(k + 1) % ring.size()];
      if (!Coastlines::Coast(a, b)) {
        drawing = false;
        continue;
      }
      if (!drawing) {
        const Pixel q = frame.Map().Project(a.lon, a.lat);
        cairo_move_to(cr, q.x, q.y);
        drawing = true;
      }
      frame.LineTo(cr, a, b);
    }
  }
  SetColour(cr, kCoast);
  cairo_set_line_width(cr, 0.07 * frame.Font());
  cairo_stroke(cr);
}

void DrawWeakZones(cairo_t* cr, const ChartFrame& frame) {
  if (!frame.ShowsWeakZones()) return;
  const struct {
    double threshold;
    Colour colour;
  } zones[] = {{kCautionHorizontal, kCaution},
               {kUnreliableHorizontal, kUnreliable}};
  for (const auto& zone : zones) {
    cairo_new_path(cr);
    for (const auto& cell :
         WeakFieldCells(*frame.Content().grid, zone.threshold)) {
      if (!frame.Reaches(cell)) continue;
      frame.Ring(cr, cell);
    }
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_set_source_rgba(cr, zone.colour.r, zone.colour.g, zone.colour.b,
                          kWeakZoneOpacity);
    cairo_fill(cr);
  }
}

}  // namespace norvane::chart
