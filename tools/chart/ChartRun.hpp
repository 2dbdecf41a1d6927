#pragma once
/**
 * \file ChartRun.hpp
 * \brief The work of norvane-chart: evaluate, trace, draw and write.
 */

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "tools/common/YearRange.hpp"
#include "tools/chart/FieldGrid.hpp"
#include "tools/chart/Projection.hpp"

namespace norvane::chart {

/// How norvane-chart was asked to work.
struct ChartOptions {
  std::string model;     ///< model file; empty for the compiled-in model
  FieldRequest request;  ///< its geoid is RunChart's to set
  /// What request.altitude is measured from.
  tools::HeightReference heightReference = tools::HeightReference::kEllipsoid;
  ProjectionKind projection = ProjectionKind::kPlateCarree;
  double interval = 0.0;  ///< contour interval, or 0 for the quantity's default
  double gridStep = 0.5;  ///< degrees
  /// Threads that share out the work, at least 1; the chart is the same
  /// for any number.
  unsigned threads = 1;
  int width = 0;  ///< image size, pixels; 0 for the projection's default
  int height = 0;
  std::string
      coastlines;  ///< shapefile; empty for the default, "none" for none
  std::string png, svg, geojson;  ///< output paths; empty for none
  /// Years of the dip pole's path on a polar map, or none.
  std::optional<tools::YearRange> polePath;
};

/// Most levels a chart may have: a smaller interval is refused.
constexpr double kMaxLevels = 2000.0;

/**
 * The image size of a projection's chart when none is asked for: 1400x800
 * for plate carrée, 1200x1000 for Mercator, 960x1000 for the polar maps.
 *
 * @param[in] projection the map.
 * @param[out] width, height pixels.
 */
void DefaultSize(ProjectionKind projection, int& width, int& height);

/**
 * Reads an image size.
 *
 * @param[in] text "WxH", each 16 to 16384.
 * @param[out] width, height pixels.
 * @return whether the text is such a size.
 */
bool ParseSize(std::string_view text, int& width, int& height);

/**
 * Makes the chart and writes every file asked for.
 *
 * Every file is opened first, so that a path that cannot be written stops
 * the run before any work; each is put in place only when all of them are
 * complete, and if one fails none of the run's files remains (see
 * tools::OutputFile for what is replaced and what is written through).  A
 * request outside the model's validity, or coastlines that cannot be read,
 * draws the chart all the same, with a warning on `err`.
 *
 * @param[in] options what to chart and where.
 * @param[in] err stream for messages.
 * @param[in] usage the command's usage text, printed after a message that
 *   the interval gives too many levels.
 * @return 0 when every file was written; 1 when one could not be, or the
 *   field is not finite over the chart; 2 when the model file or the geoid
 *   cannot be read or the interval gives more than kMaxLevels levels.
 */
int RunChart(const ChartOptions& options, std::FILE* err,
             std::string_view usage);

}  // namespace norvane::chart
