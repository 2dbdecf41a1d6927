#include "tools/chart/ChartFrame.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/Pi.hpp"

namespace norvane::chart {
namespace {

// Room for the title and subtitle at the top, in font sizes.
constexpr double kTitlesHeight = 3.6;
// The room beyond a polar map's circle for its meridian labels: half a
// label's height above and below, half the widest ("150°W") at the sides,
// with a little to spare, in font sizes.
constexpr double kPolarMarginY = kMeridianLabelGap + 0.9;
constexpr double kPolarMarginX = kMeridianLabelGap + 1.9;
// Longest edge drawn straight on a polar map, degrees of longitude.
constexpr double kPolarStep = 1.0;

}  // namespace

Colour LevelColour(double value) {
  return value > 0.0 ? kPositive : value < 0.0 ? kNegative : kZero;
}

void SetColour(cairo_t* cr, Colour colour) {
  cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
}

std::string FormatLevel(double value) {
  char text[32];
  if (std::fabs(value - std::round(value)) < 1e-9) {
    std::snprintf(text, sizeof text, "%.0f", std::round(value) + 0.0);
  } else {
    std::snprintf(text, sizeof text, "%g", value);
  }
  return text;
}

void ShowText(cairo_t* cr, const std::string& text, Pixel at, double size,
              double alignX, double alignY, bool halo) {
  cairo_set_font_size(cr, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  const double x = at.x - alignX * e.width - e.x_bearing;
  const double y = at.y - alignY * e.height - e.y_bearing;
  if (halo) {
    cairo_save(cr);
    SetColour(cr, kPaper);
    cairo_rectangle(cr, x + e.x_bearing - 1, y + e.y_bearing - 1, e.width + 2,
                    e.height + 2);
    cairo_fill(cr);
    cairo_restore(cr);
  }
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, text.c_str());
}

ChartFrame::ChartFrame(const ChartContent& content, int width, int height)
    : content_(content),
      width_(width),
      height_(height),
      font_(std::clamp(std::min(width, height) / 70.0, 6.0, 24.0)),
      projection_(Layout()) {}

// From the content, not the projection: Layout() runs before the
// projection is made.
bool ChartFrame::Polar() const {
  return content_.projection == ProjectionKind::kNorthPolar ||
         content_.projection == ProjectionKind::kSouthPolar;
}

bool ChartFrame::ShowsWeakZones() const {
  return !content_.quantity.rates && !content_.quantity.uncertainty &&
         (content_.quantity.element == Element::kD ||
          content_.quantity.element == Element::kH);
}

Projection ChartFrame::Layout() const {
  const double bottom = (ShowsWeakZones() ? 6.4 : 4.8) * font_;
  if (Polar()) {
    // Below the titles and above the key, with a ring around the circle
    // for the meridians' labels: kMeridianLabelGap out, and a label's
    // half height (or half width, at the sides) beyond.
    const double top = (kTitlesHeight + kPolarMarginY) * font_;
    const double side = kPolarMarginX * font_;
    return Projection(content_.projection, side, top, width_ - 2.0 * side,
                      height_ - top - bottom - kPolarMarginY * font_);
  }
  const double top = kTitlesHeight * font_;
  const double side = 4.2 * font_;
  return Projection(content_.projection, side, top, width_ - side - 2.0 * font_,
                    height_ - top - bottom);
}

Pixel ChartFrame::Centre() const {
  return {projection_.Left() + 0.5 * projection_.Width(),
          projection_.Top() + 0.5 * projection_.Height()};
}

std::vector<double> ChartFrame::Parallels() const {
  switch (content_.projection) {
    case ProjectionKind::kPlateCarree:
      return {-60, -30, 0, 30, 60};
    case ProjectionKind::kMercator:
      return {-60, -40, -20, 0, 20, 40, 60};
    case ProjectionKind::kNorthPolar:
      return {60, 70, 80};
    case ProjectionKind::kSouthPolar:
      return {-60, -70, -80};
  }
  return {};
}

Pixel ChartFrame::LatitudeLabel(double lat) const {
  return projection_.Project(-165.0, lat);
}

bool ChartFrame::Inside(Pixel p) const {
  if (Polar()) {
    const Pixel c = Centre();
    for (double lat : Parallels()) {
      const Pixel l = LatitudeLabel(lat);
      if (std::fabs(p.x - l.x) < 1.8 * font_ &&
          std::fabs(p.y - l.y) < 0.8 * font_)
        return false;
    }
    return std::hypot(p.x - c.x, p.y - c.y) <= 0.5 * projection_.Width();
  }
  return p.x >= projection_.Left() &&
         p.x <= projection_.Left() + projection_.Width() &&
         p.y >= projection_.Top() &&
         p.y <= projection_.Top() + projection_.Height();
}

bool ChartFrame::OnMap(const GeoPoint& p) const {
  return p.lat >= projection_.MinLatitude() &&
         p.lat <= projection_.MaxLatitude();
}

bool ChartFrame::Reaches(const std::vector<GeoPoint>& ring) const {
  return std::any_of(ring.begin(), ring.end(), [&](const GeoPoint& p) {
    return p.lat >= projection_.MinLatitude() - 1.0 &&
           p.lat <= projection_.MaxLatitude() + 1.0;
  });
}

void ChartFrame::MapOutline(cairo_t* cr) const {
  cairo_new_path(cr);
  if (Polar()) {
    const Pixel c = Centre();
    cairo_arc(cr, c.x, c.y, 0.5 * projection_.Width(), 0.0, 2.0 * kPi);
    cairo_close_path(cr);
  } else {
    cairo_rectangle(cr, projection_.Left(), projection_.Top(),
                    projection_.Width(), projection_.Height());
  }
}

void ChartFrame::Ring(cairo_t* cr, const std::vector<GeoPoint>& ring) const {
  for (std::size_t k = 0; k < ring.size(); ++k) {
    const GeoPoint& p = ring[k];
    if (k == 0) {
      const Pixel q = projection_.Project(p.lon, p.lat);
      cairo_move_to(cr, q.x, q.y);
      continue;
    }
    LineTo(cr, ring[k - 1], p);
  }
  if (!ring.empty()) LineTo(cr, ring.back(), ring.front());
  cairo_close_path(cr);
}

void ChartFrame::LineTo(cairo_t* cr, const GeoPoint& from,
                        const GeoPoint& to) const {
  const int steps =
      Polar() ? std::max(1, static_cast<int>(std::ceil(
                                std::fabs(to.lon - from.lon) / kPolarStep)))
              : 1;
  for (int s = 1; s <= steps; ++s) {
    const double f = static_cast<double>(s) / steps;
    const Pixel q = projection_.Project(from.lon + f * (to.lon - from.lon),
                                        from.lat + f * (to.lat - from.lat));
    cairo_line_to(cr, q.x, q.y);
  }
}

}  // namespace norvane::chart
