#include "sim/PageImage.hpp"

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>

#include "tools/common/CairoSurface.hpp"
#include "display/PageLayout.hpp"
#include "sim/Cp1252.hpp"

namespace norvane::sim {
namespace {

constexpr const char* kFont = "DejaVu Sans Mono";
constexpr DWORD kMaxImageSide = 32767;  // cairo's limit for image surfaces
constexpr double kTextRed = 0.5;        // light MFD green
constexpr double kTextGreen = 1.0;
constexpr double kTextBlue = 0.5;

void SetColour(cairo_t* cr, COLORREF colour) {
  cairo_set_source_rgb(cr, (colour & 0xFF) / 255.0,
                       ((colour >> 8) & 0xFF) / 255.0,
                       ((colour >> 16) & 0xFF) / 255.0);
}

// Sizes the font so that ascent plus descent equal the row pitch; returns
// the ascent, pixels.
double SetFont(cairo_t* cr, DWORD height) {
  const double pitch = page::RowPitch(height);
  cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL,
                         CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, pitch);
  cairo_font_extents_t extents;
  cairo_font_extents(cr, &extents);
  const double lineHeight = extents.ascent + extents.descent;
  if (lineHeight > 0) cairo_set_font_size(cr, pitch * pitch / lineHeight);
  cairo_font_extents(cr, &extents);
  return extents.ascent;
}

void Paint(cairo_t* cr, const StandInDC& dc, DWORD height) {
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  const double ascent = SetFont(cr, height);
  for (const DrawCall& call : dc.Calls()) {
    if (call.kind == DrawCall::Kind::kText) {
      cairo_set_source_rgb(cr, kTextRed, kTextGreen, kTextBlue);
      // GDI places the text's top-left corner; cairo places the baseline.
      cairo_move_to(cr, call.x0, call.y0 + ascent);
      cairo_show_text(cr, Cp1252ToUtf8(dc.Text(call)).c_str());
    } else if (call.kind == DrawCall::Kind::kLineTo &&
               call.pen.style == PS_SOLID) {
      SetColour(cr, call.pen.colour);
      cairo_set_line_width(cr, std::max(1, call.pen.width));
      // Through pixel centres, so a 1-pixel line covers whole pixels.
      cairo_move_to(cr, call.x0 + 0.5, call.y0 + 0.5);
      cairo_line_to(cr, call.x1 + 0.5, call.y1 + 0.5);
      cairo_stroke(cr);
    }
  }
}

bool Report(cairo_status_t status, const std::string& file,
            std::string& error) {
  if (status == CAIRO_STATUS_SUCCESS) return true;
  error = "cannot write " + file + ": " + cairo_status_to_string(status);
  return false;
}

}  // namespace

bool WritePng(const StandInDC& dc, DWORD width, DWORD height,
              const std::string& file, std::string& error) {
  if (width > kMaxImageSide || height > kMaxImageSide) {
    error = "cannot write " + file + ": a PNG image is at most " +
            std::to_string(kMaxImageSide) + " pixels a side";
    return false;
  }
  cairo_surface_t* surface = cairo_image_surface_create(
      CAIRO_FORMAT_RGB24, static_cast<int>(width), static_cast<int>(height));
  cairo_status_t status =
      DrawOnSurface(surface, [&](cairo_t* cr) { Paint(cr, dc, height); });
  if (status == CAIRO_STATUS_SUCCESS) {
    status = cairo_surface_write_to_png(surface, file.c_str());
  }
  cairo_surface_destroy(surface);
  ReleaseFontCaches();
  return Report(status, file, error);
}

bool WriteSvg(const StandInDC& dc, DWORD width, DWORD height,
              const std::string& file, std::string& error) {
  cairo_surface_t* surface =
      cairo_svg_surface_create(file.c_str(), width, height);
  cairo_status_t status =
      DrawOnSurface(surface, [&](cairo_t* cr) { Paint(cr, dc, height); });
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  ReleaseFontCaches();
  return Report(status, file, error);
}

}  // namespace norvane::sim
