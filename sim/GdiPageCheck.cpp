#include "sim/GdiPageCheck.hpp"

#include <cmath>

#include "display/Heading.hpp"
#include "model/FieldModel.hpp"
#include "sim/Options.hpp"

namespace norvane::sim {
namespace {

constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kRed = RGB(0xFF, 0x00, 0x00);
constexpr double kPageYear = 2006.0;
constexpr double kRowsPerPage = 26.0;
constexpr int kRows = 12;
constexpr int kTextX = 5;          // pixels
constexpr int kMinTextPixels = 8;  // a few glyph strokes
constexpr double kSamples[] = {0.25, 0.4, 0.55, 0.7, 0.85};

struct Point {
  double x;
  double y;
};

struct Segment {
  Point from;
  Point to;
};

// A needle as the page draws it: from (w/2, w/2) towards the heading, 0.4 of
// the width long, heading 0 up and 90 degrees left.
Segment Needle(int width, double heading) {
  const double w = width;
  return {{std::trunc(w * 0.5), std::trunc(w * 0.5)},
          {std::trunc(w * (0.5 + 0.4 * std::sin(-heading))),
           std::trunc(w * (0.5 - 0.4 * std::cos(-heading)))}};
}

Point Along(const Segment& s, double t) {
  return {s.from.x + t * (s.to.x - s.from.x),
          s.from.y + t * (s.to.y - s.from.y)};
}

double Distance(const Point& p, const Segment& s) {
  const double dx = s.to.x - s.from.x;
  const double dy = s.to.y - s.from.y;
  const double length2 = dx * dx + dy * dy;
  double t = 0.0;
  if (length2 > 0) {
    t = ((p.x - s.from.x) * dx + (p.y - s.from.y) * dy) / length2;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
  }
  return std::hypot(p.x - (s.from.x + t * dx), p.y - (s.from.y + t * dy));
}

bool OnPage(const GdiPage& page, const Point& p) {
  return p.x >= 1 && p.y >= 1 && p.x <= page.Width() - 2 &&
         p.y <= page.Height() - 2;
}

// Whether the pixel nearest p or one of its eight neighbours has the colour.
bool ColourNear(const GdiPage& page, const Point& p, COLORREF colour) {
  const int cx = static_cast<int>(std::lround(p.x));
  const int cy = static_cast<int>(std::lround(p.y));
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (page.Pixel(cx + dx, cy + dy) == colour) return true;
    }
  }
  return false;
}

std::string Where(const Point& p) {
  return "(" + std::to_string(std::lround(p.x)) + ", " +
         std::to_string(std::lround(p.y)) + ")";
}

// The needle's samples must show its colour unless a later line covers
// them; the mirrored samples must not, unless a needle passes there.
void CheckNeedle(const GdiPage& page, const char* name, COLORREF colour,
                 const Segment& needle, const Segment* coveredBy,
                 const Segment& other, std::vector<std::string>& failures) {
  for (double t : kSamples) {
    const Point p = Along(needle, t);
    if (!OnPage(page, p) ||
        (coveredBy != nullptr && Distance(p, *coveredBy) < 2.5)) {
      continue;
    }
    if (!ColourNear(page, p, colour)) {
      failures.push_back(std::string(name) + " needle missing at " + Where(p));
    }
    const Point mirrored{2 * needle.from.x - p.x, p.y};
    if (Distance(mirrored, needle) < 2.5 || Distance(mirrored, other) < 2.5) {
      continue;
    }
    if (ColourNear(page, mirrored, colour)) {
      failures.push_back(std::string(name) + " needle mirrored at " +
                         Where(mirrored));
    }
  }
}

int TextPixels(const GdiPage& page, int top, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = kTextX; x < page.Width(); ++x) {
      if (page.Pixel(x, y) == kPageTextColour) ++count;
    }
  }
  return count;
}

}  // namespace

NeedleHeadings ExpectedHeadings(const VesselState& vessel) {
  const FieldModel model;
  double X, Y, Z, F, H, D, I;
  model.Evaluate((vessel.radius - kEquatorialRadius) / 1000.0, vessel.latitude,
                 vessel.longitude, kPageYear, X, Y, Z, F, H, D, I);
  const double hdg = NormaliseHeading(vessel.heading);
  return {hdg, NormaliseHeading(hdg - D)};
}

std::vector<std::string> CheckGdiPage(const GdiPage& page,
                                      const NeedleHeadings& headings) {
  std::vector<std::string> failures;
  if (page.Width() >= kMinCheckedWidth) {
    const Segment white = Needle(page.Width(), headings.trueHeading);
    const Segment red = Needle(page.Width(), headings.magneticHeading);
    CheckNeedle(page, "white", kWhite, white, &red, red, failures);
    CheckNeedle(page, "red", kRed, red, nullptr, white, failures);
  }
  if (page.Height() < kMinCheckedHeight) return failures;

  const double pitch = page.Height() / kRowsPerPage;
  for (int k = 0; k <= kRows; ++k) {
    const int top = static_cast<int>(pitch * k);
    const int bottom = static_cast<int>(pitch * (k + 1));
    if (TextPixels(page, top, bottom) < kMinTextPixels) {
      failures.push_back(k == 0 ? std::string("no title text")
                                : "no text in row " + std::to_string(k));
    }
  }
  return failures;
}

}  // namespace norvane::sim
