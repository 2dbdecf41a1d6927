#include "display/Norvane.hpp"

#include <stdlib.h>
#include <string.h>

#include "display/FormatSI.hpp"
#include "display/Heading.hpp"
#include "display/PageLayout.hpp"
#include "model/Wgs84.hpp"
#include "platform/FloatingPointScope.hpp"

namespace norvane {
namespace {

constexpr COLORREF kWhite = 0x00FFFFFF;  // GDI colours are 0x00BBGGRR
constexpr COLORREF kRed = 0x000000FF;
// The host reports the distance from the centre; the page's altitude is that
// distance less the ellipsoid's equatorial radius.
constexpr double kEquatorialRadius = wgs84::a * 1000.0;  // m
// The page shows the field of one fixed date, not the simulation's: the
// module asks the host for the vessel alone, so the same vessel always gets
// the same page.  2006.0 lies inside the model's validity (2005.0 to 2010.0),
// a year after its epoch.
constexpr double kPageYear = 2006.0;
// The longest row is 18 characters and the zero; a line of 260, the size
// Windows code customarily gives a line of text (MAX_PATH), keeps every row
// whole with room to spare should a label grow.
constexpr size_t kLineSize = 260;

double Degrees(double radians) { return radians * 180.0 / kPagePi; }

// Truncates towards zero into a pixel coordinate; false where the value is
// not finite or does not fit, so nothing undefined is converted.
bool ToPixel(double value, int& pixel) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return false;
  pixel = static_cast<int>(value);
  return true;
}

}  // namespace

Norvane::Norvane(DWORD w, DWORD h, VESSEL* v)
    : MFD(w, h, v),
      vessel(v),
      width(static_cast<int32_t>(w)),
      height(static_cast<int32_t>(h)),
      model(),
      penTrue(CreatePen(PS_SOLID, 1, kWhite)),
      penMagnetic(CreatePen(PS_SOLID, 1, kRed)) {}

void* Norvane::operator new(size_t size) noexcept { return malloc(size); }

void Norvane::operator delete(void* storage) noexcept { free(storage); }

Norvane::~Norvane() {
  DeleteObject(penMagnetic);
  DeleteObject(penTrue);
}

void Norvane::Update(HDC hDC) {
  const FloatingPointScope ieeeDefault;
  Title(hDC, "Norvane");

  double lng = 0.0;
  double lat = 0.0;
  double rad = 0.0;
  vessel->GetEquPos(lng, lat, rad);
  double hdg = 0.0;
  vapiGetHeading(vessel->GetHandle(), &hdg);
  hdg = NormaliseHeading(hdg);

  const double alt = (rad - kEquatorialRadius) / 1000.0;  // km
  double X, Y, Z, F, H, D, I;
  model.Evaluate(alt, lat, lng, kPageYear, X, Y, Z, F, H, D, I);
  const double mh = NormaliseHeading(hdg - D);

  const struct {
    const char* format;
    double value;
  } rows[page::kRows] = {
      {"lat: %9.3f%c\xB0", Degrees(lat)},  {"lon: %9.3f%c\xB0", Degrees(lng)},
      {"rad: %9.3f%cm", rad},              {"x:   %9.3f%cT", X / 1e9},
      {"y:   %9.3f%cT", Y / 1e9},          {"z:   %9.3f%cT", Z / 1e9},
      {"h:   %9.3f%cT", H / 1e9},          {"ti:  %9.3f%cT", F / 1e9},
      {"dec: %9.3f%c\xB0", Degrees(D)},    {"dip: %9.3f%c\xB0", Degrees(I)},
      {"THead: %9.3f%c\xB0", Degrees(hdg)}, {"MHead: %9.3f%c\xB0", Degrees(mh)},
  };
  char line[kLineSize];
  for (int k = 1; k <= page::kRows; ++k) {
    FormatSI(line, sizeof line, rows[k - 1].format, rows[k - 1].value);
    TextOutA(hDC, page::kTextX, page::RowTop(height, k), line,
             static_cast<int>(strlen(line)));
  }

  const HGDIOBJ previousPen = SelectObject(hDC, penTrue);
  DrawNeedle(hDC, hdg);
  SelectObject(hDC, penMagnetic);
  DrawNeedle(hDC, mh);
  SelectObject(hDC, previousPen);
}

void Norvane::DrawNeedle(HDC hDC, double heading) const {
  const page::PagePoint origin = page::NeedleOrigin(width);
  const page::PagePoint end = page::NeedleEnd(width, heading);
  int originX, originY, endX, endY;
  if (!ToPixel(origin.x, originX) || !ToPixel(origin.y, originY) ||
      !ToPixel(end.x, endX) || !ToPixel(end.y, endY)) {
    return;
  }
  MoveToEx(hDC, originX, originY, nullptr);
  LineTo(hDC, endX, endY);
}

bool Norvane::ConsumeKeyBuffered(DWORD key) {
  // [ ] , . : the page's keys, reserved to it.  Consuming them keeps the
  // host from acting on them while the compass is shown; the single page has
  // nothing to step through or scale, so they change nothing.
  return key == 26 || key == 27 || key == 51 || key == 52;
}

}  // namespace norvane
