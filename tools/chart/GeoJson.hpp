#pragma once
/**
 * \file GeoJson.hpp
 * \brief Contour lines as GeoJSON, for GIS tools.
 */

#include <string>
#include <vector>

#include "tools/chart/Contours.hpp"

namespace norvane::chart {

/// What the lines show, for the features' properties.
struct ContourMetadata {
  std::string element;  ///< "D" ... "F", or "dD" ... "dF" for annual change
  std::string unit;     ///< as Unit() gives it
  std::string model;    ///< e.g. "WMM-2005"
  double year;          ///< decimal year
};

/**
 * A FeatureCollection with one feature per level: a LineString when the
 * level has one part, else a MultiLineString, with the properties element,
 * value, unit, model and year.  Coordinates are [longitude, latitude] in
 * degrees, WGS-84; lines are cut at the 180° meridian, and a closed line's
 * part repeats its first point at its end.  Numbers are written with the
 * fewest digits that read back to the same double.
 *
 * @param[in] lines contour lines, ordered by level.
 * @param[in] metadata the properties common to every feature.
 * @return the document, ending in a newline.
 */
std::string ContoursToGeoJson(const std::vector<ContourLine>& lines,
                              const ContourMetadata& metadata);

}  // namespace norvane::chart
