#pragma once
/**
 * \file Coastlines.hpp
 * \brief The world's coastlines, read from a shapefile of land polygons.
 */

#include <string>
#include <vector>

#include "tools/chart/Contours.hpp"

namespace norvane::chart {

/// Where the land polygons are by default: the crude shoreline of the
/// Debian package python-cartopy-data (longitudes -180 to 180, degrees).
extern const char kDefaultCoastlineFile[];

/**
 * \brief Land polygons, each a closed ring of longitude-latitude points.
 *
 * Rings that cross 180° or enclose a pole come cut into pieces along the
 * 180° and 0° meridians and closed along the pole's parallel; those cut
 * edges are not coast, and Coast() leaves them out.
 */
struct Coastlines {
  std::vector<std::vector<GeoPoint>> rings;

  /**
   * Whether the edge from a to b is a stretch of real coast, not an edge
   * made by cutting a ring along a meridian or the pole's parallel.
   */
  static bool Coast(const GeoPoint& a, const GeoPoint& b);
};

/**
 * Reads the polygons of a shapefile.
 *
 * @param[in] path the .shp file (its .shx beside it).
 * @param[out] coastlines the rings of every polygon part.
 * @param[out] error why the file could not be read.
 * @return whether it was read.
 */
bool ReadCoastlines(const std::string& path, Coastlines& coastlines,
                    std::string& error);

}  // namespace norvane::chart
