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
// The longest row is 18 characters and the zero; a line of 260, the size
// Windows code customarily gives a line of text (MAX_PATH), keeps every row
// whole with room to spare should a label grow.
constexpr size_t kLineSize = 260;

// What the host reported for one page.
struct HostReport {
  double longitude;  // radians
  double latitude;   // radians
  double radius;     // m
  double heading;    // radians, not normalised
};

// One needle in pixels; drawn only when every end is finite and fits.
struct NeedlePixels {
  bool drawn;
  int originX, originY, endX, endY;
};

// Everything one page draws, worked out before any of it is drawn, so that
// the arithmetic runs in one floating-point scope and the drawing outside it.
struct PageContent {
  char rows[page::kRows][kLineSize];
  int rowTop[page::kRows];  // pixels
  NeedlePixels trueNeedle;
  NeedlePixels magneticNeedle;
};

double Degrees(double radians) { return radians * 180.0 / kPagePi; }

// Truncates towards zero into a pixel coordinate; false where the value is
// not finite or does not fit, so nothing undefined is converted.
bool ToPixel(double value, int& pixel) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return false;
  pixel = static_cast<int>(value);
  return true;
}

NeedlePixels Needle(int32_t width, double heading) {
  const page::PagePoint origin = page::NeedleOrigin(width);
  const page::PagePoint end = page::NeedleEnd(width, heading);
  NeedlePixels needle{};
  needle.drawn = ToPixel(origin.x, needle.originX) &&
                 ToPixel(origin.y, needle.originY) &&
                 ToPixel(end.x, needle.endX) && ToPixel(end.y, needle.endY);
  return needle;
}

void ComposePage(const FieldModel& model, int32_t width, int32_t height,
                 const HostReport& host, PageContent& content) {
  const FloatingPointScope ieeeDefault;
  const double hdg = NormaliseHeading(host.heading);
  const double alt = (host.radius - kEquatorialRadius) / 1000.0;  // km
  double X, Y, Z, F, H, D, I;
  model.Evaluate(alt, host.latitude, host.longitude, kWmm2005PageYear, X, Y, Z,
                 F, H, D, I);
  const double mh = NormaliseHeading(hdg - D);

  const struct {
    const char* format;
    double value;
  } rows[page::kRows] = {
      {"lat: %9.3f%c\xB0", Degrees(host.latitude)},
      {"lon: %9.3f%c\xB0", Degrees(host.longitude)},
      {"rad: %9.3f%cm", host.radius},
      {"x:   %9.3f%cT", X / 1e9},
      {"y:   %9.3f%cT", Y / 1e9},
      {"z:   %9.3f%cT", Z / 1e9},
      {"h:   %9.3f%cT", H / 1e9},
      {"ti:  %9.3f%cT", F / 1e9},
      {"dec: %9.3f%c\xB0", Degrees(D)},
      {"dip: %9.3f%c\xB0", Degrees(I)},
      {"THead: %9.3f%c\xB0", Degrees(hdg)},
      {"MHead: %9.3f%c\xB0", Degrees(mh)},
  };
  for (int k = 1; k <= page::kRows; ++k) {
    FormatSI(content.rows[k - 1], kLineSize, rows[k - 1].format,
             rows[k - 1].value);
    content.rowTop[k - 1] = page::RowTop(height, k);
  }
  content.trueNeedle = Needle(width, hdg);
  content.magneticNeedle = Needle(width, mh);
}

// Selects the needle's own pen and draws the needle with it.  A needle
// whose pen GDI could not make or select is left out rather than drawn in
// whatever pen is selected, where it could pass for the other needle.
// hostPen is the pen to select again after the needles: it is taken from
// the first selection that succeeds, so that the host's pen is known even
// when the first needle's pen is missing.
void DrawNeedle(HDC hDC, HPEN pen, const NeedlePixels& needle,
                HGDIOBJ& hostPen) {
  if (pen == nullptr) return;
  const HGDIOBJ previous = SelectObject(hDC, pen);
  if (previous == nullptr) return;
  if (hostPen == nullptr) hostPen = previous;
  if (!needle.drawn) return;
  MoveToEx(hDC, needle.originX, needle.originY, nullptr);
  LineTo(hDC, needle.endX, needle.endY);
}

// The model is set up in the IEEE default environment; the scope ends once
// the model is made, in place, before the pens are.
FieldModel SetUpModel() {
  const FloatingPointScope ieeeDefault;
  return FieldModel();
}

}  // namespace

Norvane::Norvane(DWORD w, DWORD h, VESSEL* v)
    : MFD(w, h, v),
      vessel(v),
      width(static_cast<int32_t>(w)),
      height(static_cast<int32_t>(h)),
      model(SetUpModel()),
      penTrue(kWhite),
      penMagnetic(kRed) {}

void* Norvane::operator new(size_t size) noexcept { return malloc(size); }

void Norvane::operator delete(void* storage) noexcept { free(storage); }

void Norvane::Update(HDC hDC) {
  Title(hDC, "Norvane");
  HostReport host{0.0, 0.0, 0.0, 0.0};
  vessel->GetEquPos(host.longitude, host.latitude, host.radius);
  vapiGetHeading(vessel->GetHandle(), &host.heading);

  PageContent content;
  ComposePage(model, width, height, host, content);

  for (int k = 0; k < page::kRows; ++k) {
    TextOutA(hDC, page::kTextX, content.rowTop[k], content.rows[k],
             static_cast<int>(strlen(content.rows[k])));
  }
  HGDIOBJ hostPen = nullptr;
  DrawNeedle(hDC, penTrue.Handle(), content.trueNeedle, hostPen);
  DrawNeedle(hDC, penMagnetic.Handle(), content.magneticNeedle, hostPen);
  if (hostPen != nullptr) SelectObject(hDC, hostPen);
}

bool Norvane::ConsumeKeyBuffered(DWORD key) {
  // [ ] , . : the page's keys, reserved to it.  Consuming them keeps the
  // host from acting on them while the compass is shown; the single page has
  // nothing to step through or scale, so they change nothing.
  return key == 26 || key == 27 || key == 51 || key == 52;
}

}  // namespace norvane
