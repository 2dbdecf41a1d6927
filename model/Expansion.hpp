#pragma once
/**
 * \file Expansion.hpp
 * \brief The spherical-harmonic sum of a FieldModel record at one point, by
 *   whichever order sums this processor runs best.
 */

#include <math.h>

#include "model/FieldModel.hpp"
#include "model/Geocentric.hpp"
#include "model/PairedOrderSums.hpp"
#include "model/SphericalField.hpp"
#include "model/WideOrderSums.hpp"

namespace norvane {

/**
 * The portable path's column sums.  Out of line: its time-adjusted
 * coefficients take most of a page of stack, and the module keeps every
 * frame within one page, as it links no stack-probe routine on Windows.
 */
template <bool kRates>
__attribute__((noinline)) void SumPairedColumns(
    const FieldModel& model, double dt, const GeocentricPoint& point,
    paired::Columns<kRates>& columns) {
  paired::Square tg;
  paired::Square th;
  paired::AdjustToYear(model, dt, tg, th);
  paired::SumColumns<kRates>(model, tg, th, point.ct, point.st, point.aor,
                             columns);
}

/**
 * The field at a point and, with kRates, its rate of change, both in the
 * geocentric spherical frame with the east component no longer times st.
 *
 * @tparam kRates whether to sum the secular variation into *rates too.
 * @tparam kSecularDegree highest degree whose gDot or hDot may be non-zero
 *   (8 or 12); the four-order path skips the time adjustment above it.
 * @param[in] model the record.
 * @param[in] dt years since the model's epoch.
 * @param[in] point the point's geocentric terms.
 * @param[in] longitude radians, east positive.
 * @param[out] rates with kRates, the rate of change, nT/year; else unused.
 * @return the field, nT.
 */
template <bool kRates, int kSecularDegree>
SphericalField SumExpansion(const FieldModel& model, double dt,
                            const GeocentricPoint& point, double longitude,
                            SphericalField* rates) {
  const double slon = sin(longitude);
  const double clon = cos(longitude);
  const double ct = point.ct;
  const double st = point.st;
  const double aor = point.aor;
  SphericalField b;
#if NORVANE_WIDE_ORDER_SUMS
  // Four orders at a time where the processor can; both ways give the same
  // sums but for rounding.
  if (model.maxDegree == wide::kDegree && WideOrderSumsSupported()) {
    b = SumOrdersWide<kRates, kSecularDegree>(model, dt, ct, st, aor, slon,
                                              clon, rates);
  } else
#endif
  {
    paired::Columns<kRates> columns;
    SumPairedColumns<kRates>(model, dt, point, columns);
    double sp[FieldModel::kSize];
    double cp[FieldModel::kSize];
    paired::LongitudeMultiples(model.maxDegree, slon, clon, sp, cp);
    b = paired::CombineColumns(model, columns.field, columns.aor2, sp, cp);
    if (kRates) {
      *rates =
          paired::CombineColumns(model, columns.rates, columns.aor2, sp, cp);
    }
  }
  // Only exactly at a pole: no tolerance, so the branch is taken exactly
  // where dividing by st is impossible.
  b.bp = st == 0.0 ? paired::PolarEast(model, model.g, model.gDot, model.h,
                                       model.hDot, dt, ct, aor, slon, clon)
                   : b.bp / st;
  if (kRates) {
    rates->bp =
        st == 0.0 ? paired::PolarEast(
                        model, model.gDot, paired::kNoCoefficients, model.hDot,
                        paired::kNoCoefficients, 0.0, ct, aor, slon, clon)
                  : rates->bp / st;
  }
  return b;
}

}  // namespace norvane
