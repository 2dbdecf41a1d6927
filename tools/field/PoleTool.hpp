#pragma once
/**
 * \file PoleTool.hpp
 * \brief The work of norvane-field --poles: a model's magnetic poles and
 *   dipole moment, year by year, as lines that scripts read.
 */

#include <cstdio>

#include "tools/model/TimeVaryingModel.hpp"
#include "tools/common/YearRange.hpp"

namespace norvane::tools {

/**
 * Writes, for each year of the range, the lines
 *
 *     YEAR north-dip LATITUDE LONGITUDE
 *     YEAR south-dip LATITUDE LONGITUDE
 *     YEAR north-geomagnetic LATITUDE LONGITUDE
 *     YEAR south-geomagnetic LATITUDE LONGITUDE
 *     YEAR dipole-moment MOMENT
 *
 * YEAR as the shortest decimal that reads back; latitudes (geodetic for
 * the dip poles, geocentric for the dipole's) and longitudes in degrees with
 * six decimals, longitudes in [-180, 180]; the moment in A m^2, six
 * significant digits.  A dip pole that is not found prints `nan nan`, with a
 * message on the error stream.
 *
 * @param[in] model the model.
 * @param[in] years the years.
 * @param[in] altitude height of the dip poles above the WGS-84 ellipsoid,
 *   km.
 * @param[in] out stream for the lines.
 * @param[in] err stream for messages.
 * @return 0 if every pole was found and the lines written, else 1.
 */
int WritePoles(const TimeVaryingModel& model, const YearRange& years,
               double altitude, std::FILE* out, std::FILE* err);

}  // namespace norvane::tools
