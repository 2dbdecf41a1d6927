#pragma once
/**
 * \file ChartImage.hpp
 * \brief A chart drawn for people, as PNG or SVG.
 */

#include <string>
#include <vector>

#include "tools/chart/ChartElement.hpp"
#include "tools/chart/Coastlines.hpp"
#include "tools/chart/Contours.hpp"
#include "tools/chart/FieldGrid.hpp"
#include "tools/common/OutputFile.hpp"
#include "tools/chart/PoleMarks.hpp"
#include "tools/chart/Projection.hpp"

namespace norvane::chart {

/// Everything a chart shows.
struct ChartContent {
  Quantity quantity;
  std::string model;  ///< e.g. "WMM-2005"
  double year;        ///< decimal year
  double altitude;    ///< km above the ellipsoid, or above mean sea level
  double interval;    ///< contour interval, in the quantity's unit
  ProjectionKind projection;
  const std::vector<ContourLine>* lines;  ///< the contours, by level
  const ValueGrid* grid;                  ///< H, for the weak-field zones
  const Coastlines* coastlines;           ///< land, or nullptr for none
  std::vector<PoleMark> dipPoles;         ///< the date's dip poles
  std::vector<PathYear> polePath;         ///< a dip pole's path, or none
  bool aboveSeaLevel = false;  ///< whether the altitude is above the sea
};

/**
 * The chart's title: the quantity, its unit, the model and the date, e.g.
 * "Declination D (°), WMM-2005, 2006-01-01".
 */
std::string ChartTitle(const ChartContent& content);

/**
 * Draws the chart: land, the zones of weak horizontal field (on D and H
 * charts), a graticule, the contours with their values, a title and a key.
 * Positive levels are red, negative ones blue, and zero green and heavier;
 * every fifth level is heavier and labelled first.  The date's dip poles
 * are marked, and a dip pole's path is drawn with its years labelled where
 * they do not crowd.
 *
 * @param[in] content what to draw.
 * @param[in] width, height image size, pixels, 1 to 16384.
 * @param[in,out] file where the PNG goes; its error says what failed.
 * @return whether everything was written.
 */
bool WritePng(const ChartContent& content, int width, int height,
              tools::OutputFile& file);

/**
 * As WritePng, as SVG with the size in points.
 */
bool WriteSvg(const ChartContent& content, int width, int height,
              tools::OutputFile& file);

}  // namespace norvane::chart
