#pragma once
/**
 * \file PoleMarks.hpp
 * \brief The dip poles a chart marks: those of its date, and the path of
 *   one over a range of years.
 */

#include <cstddef>
#include <string>
#include <vector>

#include "tools/model/TimeVaryingModel.hpp"
#include "tools/model/Poles.hpp"
#include "tools/common/YearRange.hpp"
#include "tools/chart/Contours.hpp"
#include "tools/chart/Projection.hpp"

namespace norvane::chart {

/// A dip pole on a chart.
struct PoleMark {
  GeoPoint at;        ///< geodetic, degrees
  std::string label;  ///< "N dip pole" or "S dip pole"
};

/// Where a dip pole was in one year.
struct PathYear {
  double year;  ///< decimal year
  GeoPoint at;  ///< geodetic, degrees
};

/**
 * The dip poles of a date, those the search finds.
 *
 * @param[in] model the model.
 * @param[in] year decimal year.
 * @param[in] altitude km above the WGS-84 ellipsoid.
 * @return the north and the south dip pole, or fewer.
 */
std::vector<PoleMark> DipPoleMarks(const TimeVaryingModel& model, double year,
                                   double altitude);

/**
 * A dip pole's path, year by year.
 *
 * @param[in] model the model.
 * @param[in] which the pole.
 * @param[in] years the years.
 * @param[in] altitude km above the WGS-84 ellipsoid.
 * @return where the pole was in each year the search finds it, in order.
 */
std::vector<PathYear> DipPolePath(const TimeVaryingModel& model, DipPole which,
                                  const tools::YearRange& years,
                                  double altitude);

/**
 * Which points of a path get their year written: the first, then each one
 * at least `spacing` from the last one labelled, and the last, which takes
 * the place of the one before it if the two would crowd.
 *
 * @param[in] points the path's points on the image, pixels.
 * @param[in] spacing least distance between labelled points, pixels.
 * @return the indices of the points to label, in order.
 */
std::vector<std::size_t> PathLabels(const std::vector<Pixel>& points,
                                    double spacing);

/**
 * A year as a path's label writes it: "1990", "2027.5".
 *
 * @param[in] year decimal year.
 */
std::string YearLabel(double year);

}  // namespace norvane::chart
