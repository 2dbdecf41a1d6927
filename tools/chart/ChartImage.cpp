#include "tools/chart/ChartImage.hpp"

#include <cairo-svg.h>
#include <cairo.h>

#include <cmath>
#include <cstdio>

#include "tools/chart/ChartFrame.hpp"
#include "tools/chart/GraticuleLayer.hpp"
#include "tools/chart/IndexedPng.hpp"
#include "tools/chart/KeyLayer.hpp"
#include "tools/chart/LandLayer.hpp"
#include "tools/chart/LineLayer.hpp"
#include "tools/common/CairoSurface.hpp"

namespace norvane::chart {
namespace {

constexpr char kFont[] = "DejaVu Sans";

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

// Draws the layers in order, from the ground up: those on the map clipped
// to it, then its outline, and the labels, titles and key around it.
void DrawChart(cairo_t* cr, const ChartContent& content, int width,
               int height) {
  const ChartFrame frame(content, width, height);
  SetColour(cr, kPaper);
  cairo_paint(cr);
  cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL,
                         CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_save(cr);
  frame.MapOutline(cr);
  cairo_clip(cr);
  DrawLand(cr, frame);
  DrawWeakZones(cr, frame);
  DrawGraticule(cr, frame);
  DrawCoast(cr, frame);
  DrawContours(cr, frame);
  DrawPolePath(cr, frame);
  DrawDipPoles(cr, frame);
  cairo_restore(cr);
  SetColour(cr, kInk);
  cairo_set_line_width(cr, 0.08 * frame.Font());
  frame.MapOutline(cr);
  cairo_stroke(cr);
  DrawGraticuleLabels(cr, frame);
  DrawTitles(cr, frame);
  DrawKey(cr, frame);
}

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
      surface, [&](cairo_t* cr) { DrawChart(cr, content, width, height); });
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
      surface, [&](cairo_t* cr) { DrawChart(cr, content, width, height); });
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  return Finish(status, file);
}

}  // namespace norvane::chart
