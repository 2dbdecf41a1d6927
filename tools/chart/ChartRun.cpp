#include "tools/chart/ChartRun.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "tools/model/CoefficientFile.hpp"
#include "tools/model/ModelFile.hpp"
#include "tools/chart/ChartImage.hpp"
#include "tools/chart/Coastlines.hpp"
#include "tools/chart/Contours.hpp"
#include "tools/chart/GeoJson.hpp"
#include "tools/common/OutputFile.hpp"
#include "tools/model/Utf8Text.hpp"

namespace norvane::chart {
namespace {

constexpr int kMinSide = 16;
constexpr int kMaxSide = 16384;

bool ParseSide(std::string_view text, int& side) {
  const auto result =
      std::from_chars(text.data(), text.data() + text.size(), side);
  return result.ec == std::errc() && result.ptr == text.data() + text.size() &&
         side >= kMinSide && side <= kMaxSide;
}

// Whether the field could be evaluated at every node: a model whose
// coefficients are too large overflows to infinities and NaNs.
bool FiniteEverywhere(const ValueGrid& grid) {
  return std::all_of(grid.horizontal.begin(), grid.horizontal.end(),
                     [](double h) { return std::isfinite(h); }) &&
         std::none_of(grid.values.begin(), grid.values.end(),
                      [](double v) { return std::isinf(v); });
}

}  // namespace

void DefaultSize(ProjectionKind projection, int& width, int& height) {
  switch (projection) {
    case ProjectionKind::kPlateCarree:
      width = 1400, height = 800;
      return;
    case ProjectionKind::kMercator:
      width = 1200, height = 1000;
      return;
    case ProjectionKind::kNorthPolar:
    case ProjectionKind::kSouthPolar:
      width = 960, height = 1000;
      return;
  }
}

bool ParseSize(std::string_view text, int& width, int& height) {
  const std::size_t x = text.find('x');
  return x != std::string_view::npos && ParseSide(text.substr(0, x), width) &&
         ParseSide(text.substr(x + 1), height);
}

int RunChart(const ChartOptions& options, std::FILE* err,
             std::string_view usage) {
  std::optional<TimeVaryingModel> model;
  try {
    if (options.model.empty()) {
      model.emplace();
    } else {
      model.emplace(ReadModelFile(options.model));
    }
  } catch (const CoefficientFileError& e) {
    std::fprintf(err, "norvane-chart: %s\n", e.what());
    return 2;
  }
  // Then the files, all of them: a path that cannot be written is reported
  // before any work.  What goes to a device or FIFO is held until the end,
  // so that it sees nothing of a run that fails.
  std::vector<std::unique_ptr<tools::OutputFile>> files;
  std::vector<tools::OutputFile*> outputs;
  tools::OutputFile* png = nullptr;
  tools::OutputFile* svg = nullptr;
  tools::OutputFile* geojson = nullptr;
  for (auto [path, file] :
       {std::pair{&options.png, &png}, std::pair{&options.svg, &svg},
        std::pair{&options.geojson, &geojson}}) {
    if (path->empty()) continue;
    files.push_back(std::make_unique<tools::OutputFile>(*path, true));
    if (!files.back()->Ok()) {
      std::fprintf(err, "norvane-chart: %s\n", files.back()->Error().c_str());
      return 1;  // the destructors remove every temporary file
    }
    *file = files.back().get();
    outputs.push_back(*file);
  }

  FieldRequest request = options.request;
  std::optional<tools::Geoid> geoid;
  if (options.heightReference == tools::HeightReference::kMeanSeaLevel) {
    try {
      request.geoid = &geoid.emplace();
    } catch (const tools::GeoidError& e) {
      std::fprintf(err, "norvane-chart: %s\n", e.what());
      return 2;
    }
  }
  const FieldSource source(*model, request);
  if (options.request.quantity.uncertainty && !source.HasErrorModel()) {
    std::fprintf(err,
                 "norvane-chart: the model %s has no published error model\n",
                 source.ModelName().c_str());
    return 2;
  }
  const std::string name = Printable(source.ModelName());
  if (!source.Valid()) {
    std::fprintf(err,
                 "norvane-chart: warning: the chart lies outside %s's validity "
                 "(%s)\n",
                 name.c_str(), source.ValidityText().c_str());
  }
  const Quantity& quantity = options.request.quantity;
  const double interval =
      options.interval > 0.0 ? options.interval : DefaultInterval(quantity);
  const ValueGrid grid =
      EvaluateGrid(source, options.gridStep, options.threads);
  if (!FiniteEverywhere(grid)) {
    std::fprintf(err,
                 "norvane-chart: the field of %s is not finite over the "
                 "chart: its coefficients are too large\n",
                 name.c_str());
    return 1;
  }
  double lowest, highest;
  ValueRange(grid, !(quantity.rates && quantity.element == Element::kD), lowest,
             highest);
  const double span = IsCyclic(quantity) ? 360.0 : highest - lowest;
  if (span / interval > kMaxLevels) {
    std::fprintf(err,
                 "norvane-chart: --interval: %g gives more than %g levels over "
                 "the chart's range of %g\n\n%.*s",
                 interval, kMaxLevels, span, static_cast<int>(usage.size()),
                 usage.data());
    return 2;
  }
  const std::vector<ContourLine> lines =
      TraceContours(source, grid, interval, lowest, highest, options.threads);

  if (geojson != nullptr) {
    const ContourMetadata metadata{std::string(quantity.rates         ? "d"
                                               : quantity.uncertainty ? "s"
                                                                      : "") +
                                       Letter(quantity.element),
                                   Unit(quantity), source.ModelName(),
                                   options.request.year};
    geojson->Write(ContoursToGeoJson(lines, metadata));
  }
  if (png != nullptr || svg != nullptr) {
    Coastlines coastlines;
    bool haveCoast = false;
    if (options.coastlines != "none") {
      std::string error;
      haveCoast =
          ReadCoastlines(options.coastlines.empty() ? kDefaultCoastlineFile
                                                    : options.coastlines,
                         coastlines, error);
      if (!haveCoast) {
        std::fprintf(err, "norvane-chart: warning: %s; drawn without them\n",
                     error.c_str());
      }
    }
    ChartContent content{
        quantity,
        source.ModelName(),
        options.request.year,
        options.request.altitude,
        interval,
        options.projection,
        &lines,
        &grid,
        haveCoast ? &coastlines : nullptr,
        DipPoleMarks(*model, options.request.year, options.request.altitude),
        {},
        request.geoid != nullptr};
    if (options.polePath) {
      content.polePath = DipPolePath(
          *model,
          options.projection == ProjectionKind::kSouthPolar ? DipPole::kSouth
                                                            : DipPole::kNorth,
          *options.polePath, options.request.altitude);
    }
    int width = options.width, height = options.height;
    if (width == 0) DefaultSize(options.projection, width, height);
    if (png != nullptr) WritePng(content, width, height, *png);
    if (svg != nullptr) WriteSvg(content, width, height, *svg);
  }

  if (const tools::OutputFile* failed = tools::PlaceAll(outputs)) {
    std::fprintf(err, "norvane-chart: %s\n", failed->Error().c_str());
    return 1;
  }
  return 0;
}

}  // namespace norvane::chart
