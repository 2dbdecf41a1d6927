#pragma once
/**
 * \file TimeVaryingModel.hpp
 * \brief A main-field model over a span of years, as the command-line tools
 *   evaluate it: a run of intervals, each a LoadedModel with its own secular
 *   variation.
 *
 * A coefficient file, and the compiled-in table, give a single interval that
 * starts at its epoch.  An SHC file of E epochs gives E - 1 intervals (one
 * if E is 1, with no secular variation): interval i has the coefficients of
 * epoch i and, as its secular variation, the slope to epoch i + 1, so that
 * the coefficients are linear between epochs and every evaluation takes
 * LoadedModel's one path.
 */

#include <cstddef>
#include <string>
#include <vector>

#include "tools/model/CoefficientFile.hpp"
#include "tools/model/LoadedModel.hpp"

namespace norvane {

struct ShcModel;

/**
 * One interval of an SHC model as a single-epoch model.
 *
 * @param[in] shc as ParseShc gives it, with at least two epochs.
 * @param[in] i the interval, from epoch i to epoch i + 1; i + 1 must be
 *   less than the number of epochs.
 * @return the coefficients at epoch i, and as their rates of change the
 *   slope to epoch i + 1, nT/year.
 */
Coefficients ShcInterval(const ShcModel& shc, std::size_t i);

class TimeVaryingModel {
 public:
  /// The compiled-in WMM-2005.
  TimeVaryingModel();

  /**
   * A model from a coefficient file: one interval.
   *
   * @param[in] coefficients as ReadCoefficientFile gives them.
   */
  explicit TimeVaryingModel(const Coefficients& coefficients);

  /**
   * A model from an SHC file.
   *
   * @param[in] shc as ParseShc gives it.
   */
  explicit TimeVaryingModel(const ShcModel& shc);

  /// @return the model's name, e.g. "WMM-2025" or "IGRF14".
  const std::string& name() const { return intervals_.front().name(); }

  /// @return the highest degree and order.
  int degree() const { return intervals_.front().degree(); }

  /**
   * @return the years and heights the model is made for: an SHC model's
   *   first to last epoch and -1 to 850 km; a single interval's
   *   LoadedModel::validity.
   */
  Validity validity() const { return validity_; }

  /**
   * The interval that holds a date: the one that starts at or last before
   * it; at the last epoch and after it, the last one; before the first
   * epoch, the first.  Its rates are the model's rates at that date.
   *
   * @param[in] year decimal year; any value.
   * @return the interval, a model valid as long as this one.
   */
  const LoadedModel& At(double year) const;

  /**
   * Evaluates the field, and if asked its rate of change, at one point, with
   * the interval that holds the year.
   *
   * @param[in] altitude height above the WGS-84 ellipsoid, km.
   * @param[in] latitude geodetic latitude, radians, -pi/2 to pi/2.
   * @param[in] longitude radians, east positive; any value.
   * @param[in] year decimal year; outside the model's epochs extrapolated
   *   linearly from the first or the last interval, unchecked.
   * @param[in] rates whether to give the rates too.
   * @return the elements, as LoadedModel::Evaluate gives them.
   */
  FieldAndRates Evaluate(double altitude, double latitude, double longitude,
                         double year, bool rates) const {
    return At(year).Evaluate(altitude, latitude, longitude, year, rates);
  }

 private:
  std::vector<LoadedModel> intervals_;  // by increasing epoch; at least one
  Validity validity_;
};

}  // namespace norvane
