#include "tools/chart/LineLayer.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "common/Pi.hpp"
#include "tools/chart/ScreenLines.hpp"

namespace norvane::chart {
namespace {

// Minor lines closer than this to another level are left out, and major
// ones closer than kMajorCrowding to another major one, in font sizes.
constexpr double kCrowding = 0.35;
constexpr double kMajorCrowding = 0.15;
// Line between labels along one line, in font sizes.
constexpr double kLabelSpacing = 30.0;

// Strokes a contour but for its hidden segments and the gaps left for its
// labels, given as lengths along the line from its start, pixels.
void StrokeLine(cairo_t* cr, double font, const ScreenLine& line,
                const std::vector<bool>& hidden,
                const std::vector<std::pair<double, double>>& gaps) {
  SetColour(cr, LevelColour(line.value));
  cairo_set_line_width(cr, (line.value == 0.0 ? 0.2
                            : line.major      ? 0.11
                                              : 0.06) *
                               font);
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

}  // namespace

void DrawContours(cairo_t* cr, const ChartFrame& frame) {
  const ChartContent& content = frame.Content();
  const double font = frame.Font();
  std::vector<ScreenLine> lines =
      ProjectLines(*content.lines, frame.Map(), kMajorEvery * content.interval);
  // Where a compass is good to 1, 2 and 5 degrees.
  if (content.quantity.uncertainty) {
    for (ScreenLine& line : lines)
      line.major = line.value == 1.0 || line.value == 2.0 || line.value == 5.0;
  }
  const auto hidden =
      CrowdedSegments(lines, kCrowding * font, kMajorCrowding * font);
  const double labelSize = 0.8 * font;
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
      lines, hidden, texts, sizes,
      [&frame](Pixel p) { return frame.Inside(p); }, kLabelSpacing * font);
  std::vector<std::vector<std::pair<double, double>>> gaps(lines.size());
  for (const Label& label : labels)
    gaps[label.line].push_back({label.from, label.to});
  for (std::size_t l = 0; l < lines.size(); ++l) {
    StrokeLine(cr, font, lines[l], hidden[l], gaps[l]);
  }
  for (const Label& label : labels) {
    SetColour(cr, LevelColour(lines[label.line].value));
    cairo_save(cr);
    cairo_translate(cr, label.centre.x, label.centre.y);
    cairo_rotate(cr, label.angle);
    ShowText(cr, label.text, {0.0, 0.0}, labelSize);
    cairo_restore(cr);
  }
}

void DrawPolePath(cairo_t* cr, const ChartFrame& frame) {
  const double font = frame.Font();
  std::vector<Pixel> points;
  std::vector<const PathYear*> years;
  for (const PathYear& year : frame.Content().polePath) {
    if (!frame.OnMap(year.at)) continue;
    points.push_back(frame.Map().Project(year.at.lon, year.at.lat));
    years.push_back(&year);
  }
  if (points.empty()) return;
  SetColour(cr, kPath);
  cairo_set_line_width(cr, 0.1 * font);
  cairo_new_path(cr);
  for (const Pixel& p : points) cairo_line_to(cr, p.x, p.y);
  cairo_stroke(cr);
  for (const Pixel& p : points) {
    cairo_arc(cr, p.x, p.y, 0.15 * font, 0.0, 2.0 * kPi);
    cairo_fill(cr);
  }
  const double size = 0.7 * font;
  for (const std::size_t i : PathLabels(points, 2.2 * font)) {
    SetColour(cr, kPath);
    ShowText(cr, YearLabel(years[i]->year),
             {points[i].x - 0.4 * font, points[i].y + 0.4 * font}, size, 1.0,
             0.0);
  }
}

void DrawDipPoles(cairo_t* cr, const ChartFrame& frame) {
  const double font = frame.Font();
  const double r = 0.35 * font;
  for (const PoleMark& mark : frame.Content().dipPoles) {
    if (!frame.OnMap(mark.at)) continue;
    const Pixel p = frame.Map().Project(mark.at.lon, mark.at.lat);
    cairo_new_path(cr);
    cairo_arc(cr, p.x, p.y, r, 0.0, 2.0 * kPi);
    SetColour(cr, kPaper);
    cairo_fill_preserve(cr);
    cairo_move_to(cr, p.x - r, p.y);
    cairo_line_to(cr, p.x + r, p.y);
    cairo_move_to(cr, p.x, p.y - r);
    cairo_line_to(cr, p.x, p.y + r);
    SetColour(cr, kInk);
    cairo_set_line_width(cr, 0.08 * font);
    cairo_stroke(cr);
    ShowText(cr, mark.label, {p.x + 1.6 * r, p.y}, 0.8 * font, 0.0, 0.5, true);
  }
}

}  // namespace norvane::chart
