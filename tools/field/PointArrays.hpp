#pragma once
/**
 * \file PointArrays.hpp
 * \brief The field at arrays of points, and on grids, into arrays: the
 *   tools' evaluation and validity rule without their text, for callers
 *   that hold numbers already (the Python module).
 */

#include <cstddef>
#include <string>

#include "tools/model/TimeVaryingModel.hpp"
#include "tools/common/Geoid.hpp"
#include "tools/field/Grid.hpp"
#include "tools/field/OutsideValidity.hpp"

namespace norvane::tools {

/// Columns an evaluation fills: X Y Z F H D I, then their rates.
constexpr int kElementColumns = 7;

/// How to evaluate.
struct ArrayRequest {
  bool rates = false;   ///< fill the seven rate columns too
  bool strict = false;  ///< refuse points outside the model's validity
  /// Heights are above mean sea level, converted with this geoid; nullptr
  /// for heights above the ellipsoid.
  const Geoid* geoid = nullptr;
  /// Threads that share out the points, at least 1; the results are the
  /// same for any number.
  unsigned threads = 1;
};

/// What an evaluation found.
struct ArrayOutcome {
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  OutsideCount outside;        ///< points outside the validity, evaluated
  std::size_t failed = kNone;  ///< index of the point that stopped it
  std::string error;           ///< and why, as the tools word it
};

/**
 * Evaluates the field at `count` points through TimeVaryingModel::Evaluate
 * as norvane-field does for single points, pieces of them on the request's
 * threads.  Stops at the first point that is not valid input, whose field
 * is not finite, or, when strict, that lies outside the model's validity:
 * the outcome is that of evaluating the points in order, whatever the
 * number of threads.
 *
 * @param[in] model the model.
 * @param[in] count number of points.
 * @param[in] latitude geodetic latitudes, degrees, -90 to 90.
 * @param[in] longitude longitudes, degrees, east positive, finite.
 * @param[in] altitude heights above the reference the request names, km.
 * @param[in] year decimal years, finite.
 * @param[in] request rates, strictness and height reference.
 * @param[out] out 7 columns of `count` doubles (14 with rates): X Y Z F H
 *   in nT, D I in degrees, then dX .. dH in nT/year and dD dI in
 *   degrees/year.  Entries from the failed point on are unspecified.
 * @return the count of points outside the validity, and the failure if any.
 */
ArrayOutcome EvaluatePoints(const TimeVaryingModel& model, std::size_t count,
                            const double* latitude, const double* longitude,
                            const double* altitude, const double* year,
                            const ArrayRequest& request, double* const* out);

/**
 * Evaluates a grid as norvane-field --grid does, row by row from grid.lat0,
 * each row from grid.lon0; heights above the ellipsoid go along circles of
 * latitude, heights above mean sea level point by point.
 *
 * @param[in] model the model.
 * @param[in] grid a grid that CheckGrid accepts.
 * @param[in] altitude height above the request's reference, km.
 * @param[in] year decimal year.
 * @param[in] request rates, strictness and height reference.
 * @param[out] out columns as EvaluatePoints's, of StepCount(lat) x
 *   StepCount(lon) doubles, row-major.
 * @return as EvaluatePoints's, the failed index counted row-major.
 */
ArrayOutcome EvaluateGridArrays(const TimeVaryingModel& model,
                                const PointGrid& grid, double altitude,
                                double year, const ArrayRequest& request,
                                double* const* out);

}  // namespace norvane::tools
