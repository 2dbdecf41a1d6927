#pragma once
/**
 * \file LoadedModel.hpp
 * \brief A main-field model of any degree, compiled in or read from a
 *   coefficient file, as the command-line tools evaluate it: at single
 *   points, or along circles of latitude.
 */

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/model/AnyDegreeSums.hpp"
#include "tools/model/FieldCircle.hpp"
#include "tools/model/FieldElements.hpp"
#include "model/FieldModel.hpp"

namespace norvane {

struct Coefficients;

/// Where a model is valid: a span of years and of heights.
struct Validity {
  double from;     ///< first decimal year
  double until;    ///< last decimal year
  double lowest;   ///< lowest height above the WGS-84 ellipsoid, km
  double highest;  ///< highest height above the WGS-84 ellipsoid, km
};

/// The bounds of a Validity a point lies beyond; none inside it.
struct Beyond {
  bool before;  ///< its year is before Validity::from
  bool after;   ///< its year is after Validity::until
  bool below;   ///< its height is below Validity::lowest
  bool above;   ///< its height is above Validity::highest

  /// @return whether the point lies outside the validity at all.
  bool Any() const { return before || after || below || above; }
};

/**
 * Where a point lies with respect to a model's validity.
 *
 * @param[in] validity the model's span of years and heights.
 * @param[in] year decimal year, finite.
 * @param[in] altitude height above the WGS-84 ellipsoid, km, finite.
 * @return the bounds the point lies beyond; bounds are inside.
 */
inline Beyond BoundsBeyond(const Validity& validity, double year,
                           double altitude) {
  return {year<validity.from, year> validity.until,
          altitude<validity.lowest, altitude> validity.highest};
}

/// The degree-1 Gauss coefficients at one time: the centred dipole, nT.
struct DipoleTerms {
  double g10;  ///< g(1,0), nT
  double g11;  ///< g(1,1), nT
  double h11;  ///< h(1,1), nT
};

/**
 * \brief A model ready to evaluate.
 *
 * Degrees up to 12 live in a FieldModel record and take its summation
 * paths: the compiled-in WMM-2005 gives FieldModel::Evaluate's results to
 * the last bit.  Higher degrees take AnyDegreeSums.  Evaluation allocates
 * nothing and takes no square roots in its sums; any number of evaluations
 * may run concurrently on one model.  Units and conventions as FieldModel's.
 */
class LoadedModel {
 public:
  /// The compiled-in WMM-2005.
  LoadedModel();

  /**
   * A model from a coefficient file.
   *
   * @param[in] coefficients as ReadCoefficientFile gives them.
   */
  explicit LoadedModel(const Coefficients& coefficients);

  /// @return the model's name, e.g. "WMM-2025".
  const std::string& name() const { return name_; }

  /// @return the decimal year the coefficients refer to.
  double epoch() const { return epoch_; }

  /// @return the highest degree and order.
  int degree() const;

  /**
   * @return the epoch to five years on, and -1 to 850 km: the span every
   *   World Magnetic Model is issued for.
   */
  Validity validity() const;

  /**
   * @param[in] year decimal year; extrapolated linearly, unchecked.
   * @return the degree-1 coefficients at that time.
   */
  DipoleTerms Dipole(double year) const;

  /**
   * Evaluates the field, and if asked its rate of change, at one point.
   *
   * @param[in] altitude height above the WGS-84 ellipsoid, km.
   * @param[in] latitude geodetic latitude, radians, -pi/2 to pi/2.
   * @param[in] longitude radians, east positive; any value.
   * @param[in] year decimal year; extrapolated linearly, unchecked.
   * @param[in] rates whether to give the rates too.
   * @return the elements; exactly at a pole the east component comes from
   *   a separate recursion, so they stay finite there.
   */
  FieldAndRates Evaluate(double altitude, double latitude, double longitude,
                         double year, bool rates) const;

 private:
  friend class ModelCircle;

  std::string name_;
  double epoch_;
  const Ellipsoid* ellipsoid_;  // of the geodetic coordinates
  CoefficientRow dipole_[2];    // terms (1, 0) and (1, 1), as given
  // Degrees up to 12: the record, and whether its secular variation goes
  // beyond the compiled-in table's degree.
  FieldModel record_;
  bool fullSecular_ = false;
  // Higher degrees.
  std::shared_ptr<const AnyDegreeSums> any_;
};

/**
 * \brief A model along one circle of latitude: one altitude, latitude and
 *   year, any number of longitudes.
 *
 * The constructor works out the Legendre functions and the sums over the
 * degrees once, for the field and its rate of change; each longitude then
 * costs only the sums over the orders.  Results agree with
 * LoadedModel::Evaluate's to rounding, not to the last bit.
 */
class ModelCircle {
 public:
  /**
   * @param[in] model the model; must outlive the circle.
   * @param[in] altitude height above the WGS-84 ellipsoid, km.
   * @param[in] latitude geodetic latitude, radians, -pi/2 to pi/2.
   * @param[in] year decimal year; extrapolated linearly, unchecked.
   */
  ModelCircle(const LoadedModel& model, double altitude, double latitude,
              double year);

  /**
   * @param[in] longitude radians, east positive; any value.
   * @param[in] rates whether to give the rates too.
   * @return the elements at that longitude of the circle.
   */
  FieldAndRates Evaluate(double longitude, bool rates) const;

 private:
  const LoadedModel* model_;
  GeocentricPoint point_;
  double dt_;
  std::optional<FieldCircle> fixed_;          // degrees up to 12
  std::vector<AnyDegreeSums::Quad> columns_;  // higher degrees
};

}  // namespace norvane
