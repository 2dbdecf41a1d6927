/**
 * \file norvane-chart.cpp
 * \brief World charts of the field: PNG and SVG for people, GeoJSON for GIS
 *   tools.
 *
 * norvane-chart [options] --png FILE | --svg FILE | --geojson FILE ...
 *
 * Exit status: 0 when every file was written, 1 when one could not be (no
 * file is then left half-written), 2 for bad options.
 */

#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/chart/ChartElement.hpp"
#include "tools/chart/ChartRun.hpp"
#include "tools/common/CliChecks.hpp"
#include "tools/common/CurrentYear.hpp"
#include "tools/common/NumberParser.hpp"
#include "tools/common/YearRange.hpp"

namespace {

constexpr int kUsageError = 2;

const char kDescription[] =
    "Draws a world chart of one element of a main geomagnetic field model\n"
    "(the compiled-in WMM-2005, or with --model any model in the standard\n"
    "coefficient file layout or the SHC layout), or of its annual change:\n"
    "contour lines over coastlines and a graticule, as PNG or SVG, and the\n"
    "contour lines alone as GeoJSON.";

const char kFooter[] =
    "D and I are in degrees and their annual change in arc-minutes a year;\n"
    "the intensities in nT and nT a year.  Default contour intervals: 2 for\n"
    "D and I (and their change), 1000 nT for the intensities, 10 nT a year\n"
    "for their change.  A model is valid from its epoch to five years on\n"
    "(WMM-2005: 2005.0 to 2010.0), an SHC model from its first to its last\n"
    "epoch, and from -1 to 850 km; a chart outside is still drawn, with a\n"
    "warning.  Without --year, the chart is for 2006.0 with the compiled-in\n"
    "model and for the current date (UTC) with --model.  At least one of\n"
    "--png, --svg and --geojson is needed.";

// A check that text names one of a set of values.
template <typename Parse>
CLI::Validator Names(const char* name, Parse parse) {
  return CLI::Validator(
      [parse](std::string& text) -> std::string {
        return parse(text) ? std::string()
                           : "'" + text + "' is not one of them";
      },
      name);
}

// A height reference as --height names it, or none.
std::optional<norvane::tools::HeightReference> ParseHeight(
    std::string_view text) {
  norvane::tools::HeightReference reference;
  if (norvane::tools::ParseHeightReference(text, reference)) return {};
  return reference;
}

// A finite decimal, as point lines have them (CLI11's own checks let NaN,
// infinities and hexadecimal through).
const CLI::Validator kFinite =
    norvane::tools::Accepts("FINITE", norvane::tools::ParseFiniteNumber);

const CLI::Validator kPositive(
    [](std::string& text) -> std::string {
      double value;
      return norvane::tools::ParseFiniteNumber(text, value) == nullptr &&
                     value <= 0.0
                 ? "'" + text + "' is not a positive number"
                 : std::string();
    },
    "POSITIVE");

}  // namespace

int main(int argc, char** argv) {
  norvane::chart::ChartOptions options;
  std::string element = "D", projection = "plate-carree", year, size;

  CLI::App app(kDescription, "norvane-chart");
  app.footer(kFooter);
  app.add_option("--element", element, "the element: D I H X Y Z F (default D)")
      ->type_name("D|I|H|X|Y|Z|F")
      ->check(Names("ELEMENT", norvane::chart::ParseElement));
  auto* ratesOption =
      app.add_flag("--rates", options.request.quantity.rates,
                   "chart the annual change of the element instead");
  app.add_flag("--uncertainty", options.request.quantity.uncertainty,
               "chart the uncertainty of D instead, one standard deviation "
               "in degrees by the model's published error model (WMM-2015 "
               "to WMMHR-2025)")
      ->excludes(ratesOption);
  app.add_option("--model", options.model,
                 "chart the model in FILE, a coefficient file (WMM.COF "
                 "layout) or an SHC file, told apart by content, instead of "
                 "the compiled-in WMM-2005")
      ->type_name("FILE")
      ->check(norvane::tools::NonEmptyPath());
  app.add_option("--year", year,
                 "decimal year, date yyyy-mm-dd or 'now' (default: 2006.0, "
                 "or now with --model)")
      ->check(norvane::tools::Accepts("YEAR", norvane::tools::ParseYearOrNow));
  app.add_option("--alt", options.request.altitude,
                 "km above the WGS-84 ellipsoid (default 0)")
      ->type_name("KM")
      ->check(kFinite & CLI::Range(-1000.0, 100000.0));
  std::string height = "ellipsoid";
  app.add_option("--height", height,
                 "what --alt is measured from: 'ellipsoid' (WGS-84, the "
                 "default) or 'msl' (mean sea level, EGM96 from proj-data)")
      ->type_name("REF")
      ->check(Names("REF", ParseHeight));
  app.add_option("--projection", projection,
                 "plate-carree (default), mercator (to 80 N and S), "
                 "north-polar or south-polar (stereographic, to 55)")
      ->type_name("NAME")
      ->check(Names("PROJECTION", norvane::chart::ParseProjection));
  app.add_option("--interval", options.interval,
                 "contour interval in the chart's unit (default: see below)")
      ->type_name("V")
      ->check(kFinite & kPositive);
  app.add_option("--grid", options.gridStep,
                 "spacing of the evaluation grid, 0.1 to 5 degrees (default "
                 "0.5)")
      ->type_name("DEG")
      ->check(kFinite & CLI::Range(0.1, 5.0));
  norvane::tools::AddThreadsOption(
      app, options.threads,
      "the rows of the evaluation grid and the lines' vertices", "the chart");
  app.add_option("--size", size,
                 "image size in pixels, 16 to 16384 a side (default "
                 "1400x800; Mercator 1200x1000, polar maps 960x1000)")
      ->type_name("WxH");
  app.add_option("--coastlines", options.coastlines,
                 "land polygons, a shapefile (default: the crude shoreline "
                 "of python-cartopy-data), or 'none'")
      ->type_name("FILE");
  std::string polePath;
  app.add_option("--pole-path", polePath,
                 "on a polar map, draw the path of its dip pole over the "
                 "years FROM to TO by STEP (ends included), years labelled")
      ->type_name("FROM:TO:STEP")
      ->check(norvane::tools::Accepts("YEARS", norvane::tools::ParseYearRange));
  app.add_option("--png", options.png, "write the chart as PNG")
      ->type_name("FILE")
      ->check(norvane::tools::NonEmptyPath());
  app.add_option("--svg", options.svg, "write the chart as SVG")
      ->type_name("FILE")
      ->check(norvane::tools::NonEmptyPath());
  app.add_option("--geojson", options.geojson,
                 "write the contour lines as GeoJSON")
      ->type_name("FILE")
      ->check(norvane::tools::NonEmptyPath());

  try {
    app.parse(argc, argv);
    options.request.quantity.element = *norvane::chart::ParseElement(element);
    if (options.request.quantity.uncertainty &&
        options.request.quantity.element != norvane::chart::Element::kD)
      throw CLI::ValidationError("--uncertainty", "is charted for D only");
    options.projection = *norvane::chart::ParseProjection(projection);
    options.heightReference = *ParseHeight(height);
    if (!year.empty()) {
      norvane::tools::ParseYearOrNow(year, options.request.year);
    } else if (!options.model.empty()) {
      options.request.year = norvane::tools::CurrentYear();
    }
    if (!size.empty() &&
        !norvane::chart::ParseSize(size, options.width, options.height)) {
      throw CLI::ValidationError("--size",
                                 "'" + size + "' is not WxH, 16 to 16384 each");
    }
    if (!polePath.empty()) {
      if (options.projection != norvane::chart::ProjectionKind::kNorthPolar &&
          options.projection != norvane::chart::ProjectionKind::kSouthPolar)
        throw CLI::ValidationError("--pole-path",
                                   "needs a north-polar or south-polar map");
      norvane::tools::ParseYearRange(polePath, options.polePath.emplace());
    }
    if (options.png.empty() && options.svg.empty() && options.geojson.empty()) {
      throw CLI::RequiredError("--png, --svg or --geojson");
    }
    // The levels of D and I are known before the field is: a turn's worth.
    if (options.interval > 0.0 &&
        norvane::chart::IsCyclic(options.request.quantity) &&
        360.0 / options.interval > norvane::chart::kMaxLevels) {
      char problem[96];
      std::snprintf(problem, sizeof problem,
                    "%g gives more than %g levels over a turn",
                    options.interval, norvane::chart::kMaxLevels);
      throw CLI::ValidationError("--interval", problem);
    }
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    return 0;
  } catch (const CLI::ParseError& e) {
    std::fprintf(stderr, "norvane-chart: %s\n\n%s", e.what(),
                 app.help().c_str());
    return kUsageError;
  }

  try {
    return norvane::chart::RunChart(options, stderr, app.help());
  } catch (const std::exception& e) {  // out of memory
    std::fprintf(stderr, "norvane-chart: %s\n", e.what());
    return 1;
  }
}
