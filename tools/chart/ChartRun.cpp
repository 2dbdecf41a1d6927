#include "tools/chart/ChartRun.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "model/CoefficientFile.hpp"
#include "model/LoadedModel.hpp"
#include "tools/chart/ChartImage.hpp"
#include "tools/chart/Coastlines.hpp"
#include "tools/chart/Contours.hpp"
#include "tools/chart/GeoJson.hpp"
#include "tools/chart/OutputFile.hpp"

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

int RunChart(const ChartOptions& options, std::FILE* err) {
  std::optional<LoadedModel> model;
  try {
    if (options.model.empty()) {
      model.emplace();
    } else {
      model.emplace(ReadCoefficientFile(options.model));
    }
  } catch (const CoefficientFileError& e) {
    std::fprintf(err, "norvane-chart: %s\n", e.what());
    return 2;
  }
  // Then the files: an unwritable path is reported before any work.
  std::vector<std::unique_ptr<OutputFile>> files;
  OutputFile* png = nullptr;
  OutputFile* svg = nullptr;
  OutputFile* geojson = nullptr;
  for (auto [path, file] :
       {std::pair{&options.png, &png}, std::pair{&options.svg, &svg},
        std::pair{&options.geojson, &geojson}}) {
    if (path->empty()) continue;
    files.push_back(std::make_unique<OutputFile>(*path));
    if (!files.back()->Ok()) {
      std::fprintf(err, "norvane-chart: %s\n", files.back()->Error().c_str());
      return 1;
    }
    *file = files.back().get();
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
  if (!source.Valid()) {
    std::fprintf(err,
                 "norvane-chart: warning: the chart lies outside %s's validity "
                 "(%s)\n",
                 source.ModelName().c_str(), source.ValidityText().c_str());
  }
  const Quantity& quantity = options.request.quantity;
  const double interval =
      options.interval > 0.0 ? options.interval : DefaultInterval(quantity);
  const Grid grid = EvaluateGrid(source, options.gridStep);
  double lowest, highest;
  ValueRange(grid, !(quantity.rates && quantity.element == Element::kD), lowest,
             highest);
  const double span = IsCyclic(quantity) ? 360.0 : highest - lowest;
  if (span / interval > kMaxLevels) {
    std::fprintf(err,
                 "norvane-chart: an interval of %g gives more than %g levels\n",
                 interval, kMaxLevels);
    return 2;
  }
  const std::vector<ContourLine> lines =
      TraceContours(source, grid, interval, lowest, highest);

  if (geojson != nullptr) {
    const ContourMetadata metadata{
        std::string(quantity.rates ? "d" : "") + Letter(quantity.element),
        Unit(quantity), source.ModelName(), options.request.year};
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
    const ChartContent content{quantity,
                               source.ModelName(),
                               options.request.year,
                               options.request.altitude,
                               interval,
                               options.projection,
                               &lines,
                               &grid,
                               haveCoast ? &coastlines : nullptr,
                               request.geoid != nullptr};
    int width = options.width, height = options.height;
    if (width == 0) DefaultSize(options.projection, width, height);
    if (png != nullptr) WritePng(content, width, height, *png);
    if (svg != nullptr) WriteSvg(content, width, height, *svg);
  }

  for (const auto& file : files) {
    if (!file->Ok()) {
      std::fprintf(err, "norvane-chart: %s\n", file->Error().c_str());
      return 1;  // the destructors remove every temporary file
    }
  }
  for (const auto& file : files) {
    if (!file->Commit()) {
      std::fprintf(err, "norvane-chart: %s\n", file->Error().c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace norvane::chart
