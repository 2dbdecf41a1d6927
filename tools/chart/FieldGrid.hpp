#pragma once
/**
 * \file FieldGrid.hpp
 * \brief Where a chart's values come from: one element of a field model,
 *   for one year and altitude, on a latitude-longitude grid and at single
 *   points.
 *
 * This is the only place that knows which model is evaluated.
 */

#include <optional>
#include <string>
#include <vector>

#include "tools/common/Geoid.hpp"
#include "tools/model/TimeVaryingModel.hpp"
#include "tools/model/Uncertainty.hpp"
#include "tools/chart/ChartElement.hpp"

namespace norvane::chart {

/// The field a chart shows.
struct FieldRequest {
  Quantity quantity;               ///< element, or its annual change
  double year = kWmm2005PageYear;  ///< decimal year
  double altitude = 0.0;           ///< height above the WGS-84 ellipsoid, km
  /// The altitude is above mean sea level, converted with this geoid (which
  /// must outlive the request); nullptr for above the ellipsoid.
  const tools::Geoid* geoid = nullptr;
};

/**
 * \brief One quantity of a field model, in the chart's units: D and I in
 *   degrees (their annual change in arc-minutes a year, D's uncertainty in
 *   degrees), intensities in nT (nT a year).  D lies in (-180, 180].
 */
class FieldSource {
 public:
  /**
   * @param[in] model the model, compiled in or from a file; must outlive
   *   the source.
   * @param[in] request quantity, year and altitude; not validated.
   */
  FieldSource(const TimeVaryingModel& model, const FieldRequest& request);

  /// What is evaluated.
  const FieldRequest& Request() const { return request_; }

  /// The model's name, e.g. "WMM-2005".
  const std::string& ModelName() const { return model_->name(); }

  /// Whether the model has a published error model, as an uncertainty
  /// chart needs; without one the uncertainty is NaN.
  bool HasErrorModel() const { return errors_.has_value(); }

  /// Whether the request lies within the years and altitudes the model is
  /// made for; an altitude above mean sea level is compared as given.
  bool Valid() const;

  /// The model's validity as words, e.g. "2005.0 to 2010.0, -1 to 850 km".
  std::string ValidityText() const;

  /**
   * The quantity and the horizontal intensity along a circle of latitude.
   *
   * @param[in] latitude geodetic latitude, degrees, -90 to 90.
   * @param[in] longitude0 first longitude, degrees.
   * @param[in] step longitude step, degrees.
   * @param[in] count number of longitudes.
   * @param[out] values the quantity at longitude0 + k step, k < count.
   * @param[out] horizontal H there, nT.
   */
  void Row(double latitude, double longitude0, double step, int count,
           double* values, double* horizontal) const;

  /**
   * The quantity at one point.
   *
   * @param[in] latitude geodetic latitude, degrees, -90 to 90.
   * @param[in] longitude degrees, any value.
   * @return the quantity, in the chart's unit.
   */
  double Value(double latitude, double longitude) const;

  /**
   * Whether a circle of latitude (Circle) pays for itself after a few
   * longitudes: for models beyond degree 12, whose points are dear, at an
   * altitude above the ellipsoid, which is the same all round a circle.
   */
  bool CirclesPay() const;

  /**
   * The model along one circle of latitude, at the request's year and
   * altitude above the ellipsoid.
   *
   * @param[in] latitude geodetic latitude, degrees, -90 to 90.
   * @return the circle; it refers to the source's model.
   */
  ModelCircle Circle(double latitude) const;

  /**
   * @param[in] field the field and, for a quantity of annual change, its
   *   rates, at one point.
   * @return the quantity there, in the chart's unit.
   */
  double QuantityOf(const FieldAndRates& field) const;

 private:
  // The request's altitude above the ellipsoid at a point, km.
  double Altitude(double latitude, double longitude) const;

  const TimeVaryingModel* model_;
  FieldRequest request_;
  std::optional<ErrorModel> errors_;
};

/**
 * \brief The quantity and H on a grid that covers the globe: longitudes
 *   -180 + i lonStep for i < columns (the grid closes on itself across
 *   180°), latitudes -90 + j latStep for j < rows, the last row at 90.
 */
struct ValueGrid {
  int columns = 0;
  int rows = 0;
  double lonStep = 0.0;        ///< degrees
  double latStep = 0.0;        ///< degrees
  std::vector<double> values;  ///< the quantity at node (i, j): [j columns + i]
  std::vector<double> horizontal;  ///< H at the nodes, nT

  double Longitude(int i) const { return -180.0 + i * lonStep; }
  double Latitude(int j) const {
    return j + 1 == rows ? 90.0 : -90.0 + j * latStep;
  }
  double Value(int i, int j) const { return values[j * columns + i]; }
  double Horizontal(int i, int j) const { return horizontal[j * columns + i]; }
};

/**
 * Evaluates the source on a grid, one circle of latitude at a time, the
 * rows shared out among threads.
 *
 * @param[in] source the quantity.
 * @param[in] step spacing wanted, degrees, 0.1 to 5; rounded so that
 *   whole steps span 180° of latitude and 360° of longitude.
 * @param[in] threads at most this many threads; the grid is the same for
 *   any number.
 * @return the grid.
 */
ValueGrid EvaluateGrid(const FieldSource& source, double step,
                       unsigned threads = 1);

}  // namespace norvane::chart
