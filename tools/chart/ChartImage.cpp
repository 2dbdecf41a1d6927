#include "tools/chart/ChartImage.hpp"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/common/CairoSurface.hpp"
#include "common/Pi.hpp"
#include "tools/common/Angles.hpp"
#include "tools/chart/IndexedPng.hpp"
#include "tools/chart/ScreenLines.hpp"
#include "tools/chart/WeakField.hpp"

namespace norvane::chart {
namespace {

constexpr char kFont[] = "DejaVu Sans";

struct Colour {
  double r, g, b;
};
constexpr Colour kPositive{0.80, 0.08, 0.08};
constexpr Colour kNegative{0.08, 0.22, 0.78};
constexpr Colour kZero{0.0, 0.52, 0.0};
constexpr Colour kInk{0.1, 0.1, 0.1};
constexpr Colour kLand{0.95, 0.94, 0.89};
constexpr Colour kCoast{0.55, 0.55, 0.52};
constexpr Colour kGraticule{0.72, 0.72, 0.72};
constexpr Colour kCaution{0.80, 0.80, 0.80};
constexpr Colour kUnreliable{0.62, 0.62, 0.62};
constexpr Colour kPath{0.45, 0.10, 0.55};

// Every this many levels a line is heavier and labelled first.
constexpr int kMajorEvery = 5;
// Minor lines closer than this to another level are left out, and major
// ones closer than kMajorCrowding to another major one, in font sizes.
constexpr double kCrowding = 0.35;
constexpr double kMajorCrowding = 0.15;
// Line between labels along one line, in font sizes.
constexpr double kLabelSpacing = 30.0;
// Room for the title and subtitle at the top, in font sizes.
constexpr double kTitlesHeight = 3.6;
// How far a polar map's meridian labels stand outside the circle, and the
// room for them beyond it: half a label's height above and below, half the
// widest ("150°W") at the sides, with a little to spare, in font sizes.
constexpr double kMeridianLabelGap = 1.4;
constexpr double kPolarMarginY = kMeridianLabelGap + 0.9;
constexpr double kPolarMarginX = kMeridianLabelGap + 1.9;
// Longest edge drawn straight on a polar map, degrees of longitude.
constexpr double kPolarStep = 1.0;

Colour LevelColour(double value) {
  return value > 0.0 ? kPositive : value < 0.0 ? kNegative : kZero;
}

void SetColour(cairo_t* cr, Colour c) {
  cairo_set_source_rgb(cr, c.r, c.g, c.b);
}

// "2006-01-01": the day a decimal year falls on.
std::string DateOf(double year) {
  if (!std::isfinite(year) || std::fabs(year) > 1e6) return "?";
  const int whole = static_cast<int>(std::floor(year));
  const bool leap = (whole % 4 == 0 && whole % 100 != 0) || whole % 400 == 0;
  const int days = leap ? 366 : 365;
  int day = static_cast<int>(std::floor((year - whole) * days + 1e-9));
  static const int kMonthDays[] = {31, 28, 31, 30, 31, 30,
                                   31, 31, 30, 31, 30, 31};
  int month = 0;
  while (month < 11 && day >= kMonthDays[month] + (month == 1 && leap)) {
    day -= kMonthDays[month] + (month == 1 && leap);
    ++month;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", whole, month + 1, day + 1);
  return text;
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

std::string FormatAngle(double degrees, const char* positive,
                        const char* negative) {
  const double magnitude = std::fabs(degrees);
  std::string text = FormatLevel(magnitude) + "\u00b0";
  if (magnitude == 0.0 || magnitude == 180.0) return text;
  return text + (degrees > 0 ? positive : negative);
}

// The chart's pieces laid out on the image.
class Drawing {
 public:
  Drawing(const ChartContent& content, int width, int height)
      : content_(content),
        width_(width),
        height_(height),
        font_(std::clamp(std::min(width, height) / 70.0, 6.0, 24.0)),
        projection_(Frame()) {}

  void Draw(cairo_t* cr) {
    SetColour(cr, {1, 1, 1});
    cairo_paint(cr);
    cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL,
                           CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_save(cr);
    MapOutline(cr);
    cairo_clip(cr);
    Land(cr);
    WeakZones(cr);
    Graticule(cr);
    Coast(cr);
    Contours(cr);
    PolePath(cr);
    DipPoles(cr);
    cairo_restore(cr);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 0.08 * font_);
    MapOutline(cr);
    cairo_stroke(cr);
    GraticuleLabels(cr);
    Titles(cr);
    Key(cr);
  }

 private:
  // From the content, not the projection: Frame() runs before the
  // projection is made.
  bool Polar() const {
    return content_.projection == ProjectionKind::kNorthPolar ||
           content_.projection == ProjectionKind::kSouthPolar;
  }
  bool ShowsWeakZones() const {
    return !content_.quantity.rates && !content_.quantity.uncertainty &&
           (content_.quantity.element == Element::kD ||
            content_.quantity.element == Element::kH);
  }

  Projection Frame() const {
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
    return Projection(content_.projection, side, top,
                      width_ - side - 2.0 * font_, height_ - top - bottom);
  }

  Pixel Centre() const {
    return {projection_.Left() + 0.5 * projection_.Width(),
            projection_.Top() + 0.5 * projection_.Height()};
  }

  // Where a polar map writes the latitudes of its parallels: along the
  // meridian 165° W, between two graticule meridians.
  Pixel LatitudeLabel(double lat) const {
    return projection_.Project(-165.0, lat);
  }

  // Whether a pixel lies on the map, and not on a latitude's label.
  bool Inside(Pixel p) const {
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

  void MapOutline(cairo_t* cr) const {
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

  // Whether a ring reaches the map's latitudes at all.
  bool Reaches(const std::vector<GeoPoint>& ring) const {
    return std::any_of(ring.begin(), ring.end(), [&](const GeoPoint& p) {
      return p.lat >= projection_.MinLatitude() - 1.0 &&
             p.lat <= projection_.MaxLatitude() + 1.0;
    });
  }

  // Adds a closed ring to the path; on polar maps long edges are cut into
  // short ones, as parallels are curved there.
  void Ring(cairo_t* cr, const std::vector<GeoPoint>& ring) const {
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

  void LineTo(cairo_t* cr, const GeoPoint& from, const GeoPoint& to) const {
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

  void Land(cairo_t* cr) const {
    if (content_.coastlines == nullptr) return;
    cairo_new_path(cr);
    for (const auto& ring : content_.coastlines->rings) {
      if (Reaches(ring)) Ring(cr, ring);
    }
    SetColour(cr, kLand);
    cairo_fill(cr);
  }

  void Coast(cairo_t* cr) const {
    if (content_.coastlines == nullptr) return;
    cairo_new_path(cr);
    for (const auto& ring : content_.coastlines->rings) {
      if (!Reaches(ring)) continue;
      bool drawing = false;
      for (std::size_t k = 0; k < ring.size(); ++k) {
        const GeoPoint& a = ring[k];
        const GeoPoint& b = ring[(k + 1) % ring.size()];
        if (!Coastlines::Coast(a, b)) {
          drawing = false;
          continue;
        }
        if (!drawing) {
          const Pixel q = projection_.Project(a.lon, a.lat);
          cairo_move_to(cr, q.x, q.y);
          drawing = true;
        }
        LineTo(cr, a, b);
      }
    }
    SetColour(cr, kCoast);
    cairo_set_line_width(cr, 0.07 * font_);
    cairo_stroke(cr);
  }

  void WeakZones(cairo_t* cr) const {
    if (!ShowsWeakZones()) return;
    const struct {
      double threshold;
      Colour colour;
    } zones[] = {{kCautionHorizontal, kCaution},
                 {kUnreliableHorizontal, kUnreliable}};
    for (const auto& zone : zones) {
      cairo_new_path(cr);
      for (const auto& cell : WeakFieldCells(*content_.grid, zone.threshold)) {
        if (!Reaches(cell)) continue;
        Ring(cr, cell);
      }
      cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
      cairo_set_source_rgba(cr, zone.colour.r, zone.colour.g, zone.colour.b,
                            0.55);
      cairo_fill(cr);
    }
  }

  std::vector<double> Parallels() const {
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

  void Graticule(cairo_t* cr) const {
    cairo_new_path(cr);
    for (int lon = -180; lon <= 180; lon += 30) {
      const Pixel a = projection_.Project(lon, projection_.MinLatitude());
      const Pixel b = projection_.Project(lon, projection_.MaxLatitude());
      cairo_move_to(cr, a.x, a.y);
      cairo_line_to(cr, b.x, b.y);
    }
    for (double lat : Parallels()) {
      LineAlongParallel(cr, lat);
    }
    SetColour(cr, kGraticule);
    cairo_set_line_width(cr, 0.05 * font_);
    cairo_stroke(cr);
  }

  void LineAlongParallel(cairo_t* cr, double lat) const {
    const Pixel a = projection_.Project(-180.0, lat);
    cairo_move_to(cr, a.x, a.y);
    LineTo(cr, {-180.0, lat}, {180.0, lat});
  }

  // Text centred on a point, on a white halo.
  void Text(cairo_t* cr, const std::string& text, Pixel at, double size,
            double alignX = 0.5, double alignY = 0.5, bool halo = false) const {
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    const double x = at.x - alignX * e.width - e.x_bearing;
    const double y = at.y - alignY * e.height - e.y_bearing;
    if (halo) {
      cairo_save(cr);
      SetColour(cr, {1, 1, 1});
      cairo_rectangle(cr, x + e.x_bearing - 1, y + e.y_bearing - 1, e.width + 2,
                      e.height + 2);
      cairo_fill(cr);
      cairo_restore(cr);
    }
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, text.c_str());
  }

  void GraticuleLabels(cairo_t* cr) const {
    SetColour(cr, kInk);
    const double size = 0.85 * font_;
    if (!Polar()) {
      const double bottom = projection_.Top() + projection_.Height();
      for (int lon = -180; lon <= 180; lon += 30) {
        const Pixel p = projection_.Project(lon, 0.0);
        Text(cr, FormatAngle(lon, "E", "W"), {p.x, bottom + 0.4 * font_}, size,
             0.5, 0.0);
      }
      std::vector<double> parallels = Parallels();
      parallels.push_back(projection_.MinLatitude());
      parallels.push_back(projection_.MaxLatitude());
      for (double lat : parallels) {
        const Pixel p = projection_.Project(-180.0, lat);
        Text(cr, FormatAngle(lat, "N", "S"), {p.x - 0.4 * font_, p.y}, size,
             1.0, 0.5);
      }
      return;
    }
    const Pixel c = Centre();
    const double radius = 0.5 * projection_.Width();
    const double south =
        content_.projection == ProjectionKind::kSouthPolar ? -1.0 : 1.0;
    for (int lon = -150; lon <= 180; lon += 30) {
      const double a = lon * kPi / 180.0;
      const double r = radius + kMeridianLabelGap * font_;
      Text(cr, FormatAngle(lon, "E", "W"),
           {c.x + r * std::sin(a), c.y + south * r * std::cos(a)}, size);
    }
    for (double lat : Parallels()) {
      Text(cr, FormatAngle(lat, "N", "S"), LatitudeLabel(lat), size, 0.5, 0.5,
           true);
    }
  }

  void Titles(cairo_t* cr) const {
    SetColour(cr, kInk);
    Text(cr, ChartTitle(content_), {0.5 * width_, 0.6 * font_}, 1.5 * font_,
         0.5, 0.0);
    // No space before a degree sign, one before other units.
    std::string unit = UnitSymbol(content_.quantity);
    if (unit != "\u00b0") unit = " " + unit;
    const std::string heavier =
        content_.quantity.uncertainty
            ? "at 1\u00b0, 2\u00b0 and 5\u00b0"
            : "every " + FormatLevel(kMajorEvery * content_.interval) + unit;
    char line[256];
    std::snprintf(line, sizeof line,
                  "Contour interval %s%s, heavier lines %s.  "
                  "Altitude %g km%s.  %s projection.",
                  FormatLevel(content_.interval).c_str(), unit.c_str(),
                  heavier.c_str(), content_.altitude,
                  content_.aboveSeaLevel ? " above mean sea level" : "",
                  ProjectionTitle());
    Text(cr, line, {0.5 * width_, 2.45 * font_}, 0.9 * font_, 0.5, 0.0);
  }

  const char* ProjectionTitle() const {
    switch (content_.projection) {
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

  void Key(cairo_t* cr) const {
    const bool declination = content_.quantity.element == Element::kD &&
                             !content_.quantity.rates &&
                             !content_.quantity.uncertainty;
    const struct {
      Colour colour;
      double width;
      const char* text;
    } lines[] = {
        {kPositive, 0.12,
         declination                     ? "east (positive)"
         : content_.quantity.uncertainty ? "one standard deviation of D"
                                         : "positive"},
        {kNegative, 0.12, declination ? "west (negative)" : "negative"},
        {kZero, 0.22, declination ? "agonic line (zero)" : "zero"}};
    // Only the kinds of line the chart has.
    bool present[3] = {false, false, false};
    for (const ContourLine& line : *content_.lines) {
      present[line.value > 0.0 ? 0 : line.value < 0.0 ? 1 : 2] = true;
    }
    double x = projection_.Left();
    const double y = height_ - (ShowsWeakZones() ? 3.0 : 1.3) * font_;
    cairo_set_font_size(cr, 0.85 * font_);
    for (int kind = 0; kind < 3; ++kind) {
      if (!present[kind]) continue;
      const auto& line = lines[kind];
      SetColour(cr, line.colour);
      cairo_set_line_width(cr, line.width * font_);
      cairo_move_to(cr, x, y);
      cairo_line_to(cr, x + 2.5 * font_, y);
      cairo_stroke(cr);
      x = KeyText(cr, line.text, x + 3.0 * font_, y) + 1.5 * font_;
    }
    if (!ShowsWeakZones()) return;
    x = projection_.Left();
    const double y2 = height_ - 1.3 * font_;
    const struct {
      Colour colour;
      const char* text;
    } zones[] = {{kCaution, "H below 6000 nT: use a compass with caution"},
                 {kUnreliable, "H below 2000 nT: a compass is unreliable"}};
    static_assert(
        kCautionHorizontal == 6000.0 && kUnreliableHorizontal == 2000.0,
        "the key names the thresholds");
    for (const auto& zone : zones) {
      // The key's swatch is opaque: the zones' own shade over white.
      const Colour shade{1.0 - 0.55 * (1.0 - zone.colour.r),
                         1.0 - 0.55 * (1.0 - zone.colour.g),
                         1.0 - 0.55 * (1.0 - zone.colour.b)};
      SetColour(cr, shade);
      cairo_rectangle(cr, x, y2 - 0.5 * font_, 2.5 * font_, font_);
      cairo_fill(cr);
      x = KeyText(cr, zone.text, x + 3.0 * font_, y2) + 1.5 * font_;
    }
  }

  // Writes key text from x, centred on y; returns where it ends.
  double KeyText(cairo_t* cr, const char* text, double x, double y) const {
    SetColour(cr, kInk);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text, &e);
    Text(cr, text, {x, y}, 0.85 * font_, 0.0, 0.5);
    return x + e.x_advance;
  }

  void Contours(cairo_t* cr) const {
    std::vector<ScreenLine> lines = ProjectLines(
        *content_.lines, projection_, kMajorEvery * content_.interval);
    // Where a compass is good to 1, 2 and 5 degrees.
    if (content_.quantity.uncertainty) {
      for (ScreenLine& line : lines)
        line.major =
            line.value == 1.0 || line.value == 2.0 || line.value == 5.0;
    }
    const auto hidden =
        CrowdedSegments(lines, kCrowding * font_, kMajorCrowding * font_);
    const double labelSize = 0.8 * font_;
    cairo_set_font_size(cr, labelSize);
    std::vector<std::string> texts(lines.size());
    std::vector<TextSize> sizes(lines.size());
    cairo_text_extents_t digit;
    cairo_text_extents(cr, "0", &digit);
    for (std::size_t l = 0; l < lines.size(); ++l) {
      texts[l] = FormatLevel(lines[l].value);
      cairo_text_extents_t e;
      cairo_text_extents(cr, texts[l].c_str(), &e);
      sizes[l] = {e.x_advance, digit.height};
    }
    const std::vector<Label> labels = PlaceLabels(
        lines, hidden, texts, sizes, [this](Pixel p) { return Inside(p); },
        kLabelSpacing * font_);
    std::vector<std::vector<std::pair<double, double>>> gaps(lines.size());
    for (const Label& label : labels)
      gaps[label.line].push_back({label.from, label.to});
    for (std::size_t l = 0; l < lines.size(); ++l) {
      StrokeLine(cr, lines[l], hidden[l], gaps[l]);
    }
    for (const Label& label : labels) {
      SetColour(cr, LevelColour(lines[label.line].value));
      cairo_save(cr);
      cairo_translate(cr, label.centre.x, label.centre.y);
      cairo_rotate(cr, label.angle);
      Text(cr, label.text, {0.0, 0.0}, labelSize);
      cairo_restore(cr);
    }
  }

  bool OnMap(const GeoPoint& p) const {
    return p.lat >= projection_.MinLatitude() &&
           p.lat <= projection_.MaxLatitude();
  }

  // A ringed cross on each dip pole of the date, named beside it.
  void DipPoles(cairo_t* cr) const {
    const double r = 0.35 * font_;
    for (const PoleMark& mark : content_.dipPoles) {
      if (!OnMap(mark.at)) continue;
      const Pixel p = projection_.Project(mark.at.lon, mark.at.lat);
      cairo_new_path(cr);
      cairo_arc(cr, p.x, p.y, r, 0.0, 2.0 * kPi);
      SetColour(cr, {1, 1, 1});
      cairo_fill_preserve(cr);
      cairo_move_to(cr, p.x - r, p.y);
      cairo_line_to(cr, p.x + r, p.y);
      cairo_move_to(cr, p.x, p.y - r);
      cairo_line_to(cr, p.x, p.y + r);
      SetColour(cr, kInk);
      cairo_set_line_width(cr, 0.08 * font_);
      cairo_stroke(cr);
      Text(cr, mark.label, {p.x + 1.6 * r, p.y}, 0.8 * font_, 0.0, 0.5, true);
    }
  }

  // A dip pole's path: a line through its yearly places, a dot on each,
  // and the years where they do not crowd.
  void PolePath(cairo_t* cr) const {
    std::vector<Pixel> points;
    std::vector<const PathYear*> years;
    for (const PathYear& year : content_.polePath) {
      if (!OnMap(year.at)) continue;
      points.push_back(projection_.Project(year.at.lon, year.at.lat));
      years.push_back(&year);
    }
    if (points.empty()) return;
    SetColour(cr, kPath);
    cairo_set_line_width(cr, 0.1 * font_);
    cairo_new_path(cr);
    for (const Pixel& p : points) cairo_line_to(cr, p.x, p.y);
    cairo_stroke(cr);
    for (const Pixel& p : points) {
      cairo_arc(cr, p.x, p.y, 0.15 * font_, 0.0, 2.0 * kPi);
      cairo_fill(cr);
    }
    const double size = 0.7 * font_;
    for (const std::size_t i : PathLabels(points, 2.2 * font_)) {
      SetColour(cr, kPath);
      Text(cr, YearLabel(years[i]->year),
           {points[i].x - 0.4 * font_, points[i].y + 0.4 * font_}, size, 1.0,
           0.0);
    }
  }

  void StrokeLine(cairo_t* cr, const ScreenLine& line,
                  const std::vector<bool>& hidden,
                  const std::vector<std::pair<double, double>>& gaps) const {
    const Colour colour = LevelColour(line.value);
    SetColour(cr, colour);
    cairo_set_line_width(cr, (line.value == 0.0 ? 0.2
                              : line.major      ? 0.11
                                                : 0.06) *
                                 font_);
    cairo_new_path(cr);
    bool drawing = false;
    double s = 0.0;
    auto inGap = [&](double at) {
      return std::any_of(gaps.begin(), gaps.end(), [&](const auto& g) {
        return at > g.first && at < g.second;
      });
    };
    for (std::size_t k = 0; k + 1 < line.points.size(); ++k) {
      const Pixel a = line.points[k], b = line.points[k + 1];
      const double length = std::hypot(b.x - a.x, b.y - a.y);
      if (hidden[k]) {
        drawing = false;
        s += length;
        continue;
      }
      // The segment's pieces between the ends of gaps that fall on it.
      std::vector<double> cuts = {s, s + length};
      for (const auto& g : gaps) {
        for (double at : {g.first, g.second}) {
          if (at > s && at < s + length) cuts.push_back(at);
        }
      }
      std::sort(cuts.begin(), cuts.end());
      for (std::size_t c = 0; c + 1 < cuts.size(); ++c) {
        if (inGap(0.5 * (cuts[c] + cuts[c + 1]))) {
          drawing = false;
          continue;
        }
        auto point = [&](double at) {
          const double f = length > 0.0 ? (at - s) / length : 0.0;
          return Pixel{a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)};
        };
        const Pixel from = point(cuts[c]), to = point(cuts[c + 1]);
        if (!drawing) cairo_move_to(cr, from.x, from.y);
        cairo_line_to(cr, to.x, to.y);
        drawing = true;
      }
      s += length;
    }
    cairo_stroke(cr);
  }

  const ChartContent& content_;
  double width_, height_;
  double font_;
  Projection projection_;
};

cairo_status_t WriteToFile(void* closure, const unsigned char* data,
                           unsigned int length) {
  auto* file = static_cast<tools::OutputFile*>(closure);
  file->Write({reinterpret_cast<const char*>(data), length});
  return file->Ok() ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

bool Finish(cairo_status_t status, tools::OutputFile& file) {
  ReleaseFontCaches();
  if (status != CAIRO_STATUS_SUCCESS) file.Fail(cairo_status_to_string(status));
  return file.Ok();
}

}  // namespace

std::string ChartTitle(const ChartContent& content) {
  const Quantity& q = content.quantity;
  std::string name = Name(q.element);
  std::string title;
  if (q.uncertainty) {
    title = "Uncertainty of " + name + ", s" + Letter(q.element);
  } else if (q.rates) {
    title = "Annual change of " + name + ", d" + Letter(q.element);
  } else {
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
    title = name + " " + Letter(q.element);
  }
  return title + " (" + UnitSymbol(q) + "), " + content.model + ", " +
         DateOf(content.year);
}

bool WritePng(const ChartContent& content, int width, int height,
              tools::OutputFile& file) {
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_status_t status = DrawOnSurface(
      surface, [&](cairo_t* cr) { Drawing(content, width, height).Draw(cr); });
  if (status == CAIRO_STATUS_SUCCESS) {
    WriteIndexedPng(surface, file);
  }
  cairo_surface_destroy(surface);
  return Finish(status, file);
}

bool WriteSvg(const ChartContent& content, int width, int height,
              tools::OutputFile& file) {
  cairo_surface_t* surface =
      cairo_svg_surface_create_for_stream(WriteToFile, &file, width, height);
  cairo_status_t status = DrawOnSurface(
      surface, [&](cairo_t* cr) { Drawing(content, width, height).Draw(cr); });
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  return Finish(status, file);
}

}  // namespace norvane::chart
