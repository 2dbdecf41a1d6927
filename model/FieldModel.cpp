#include "model/FieldModel.hpp"

#include <math.h>

#include "model/Geocentric.hpp"
#include "model/PairedOrderSums.hpp"
#include "model/SphericalField.hpp"
#include "model/WideOrderSums.hpp"
#include "model/Wmm2005.hpp"

namespace norvane {

FieldModel::FieldModel()
    : maxDegree(kWmm2005Degree),
      epoch(kWmm2005Epoch),
      g{},
      gDot{},
      h{},
      hDot{},
      fn{},
      fm{},
      k{} {
  Setup();
}

void FieldModel::Setup() {
  // Schmidt factors S(n, m) are only needed while folding them into the
  // coefficients: S(n, 0) from S(n - 1, 0), then along the order.
  double schmidtN0 = 1.0;
  for (int n = 1; n <= maxDegree; ++n) {
    schmidtN0 = (2 * n - 1) * schmidtN0 / n;
    double schmidt = schmidtN0;
    int j = 2;
    for (int m = 0; m <= n; ++m) {
      const CoefficientRow& row = kWmm2005[CoefficientIndex(n, m)];
      k[n][m] = static_cast<double>((n - 1) * (n - 1) - m * m) /
                static_cast<double>((2 * n - 1) * (2 * n - 3));
      if (m > 0) {
        schmidt *= sqrt(static_cast<double>((n - m + 1) * j) /
                             static_cast<double>(n + m));
        j = 1;
        h[n][m] = schmidt * row.h;
        hDot[n][m] = schmidt * row.hDot;
      }
      g[n][m] = schmidt * row.g;
      gDot[n][m] = schmidt * row.gDot;
    }
    fn[n] = n + 1;
    fm[n] = n;
  }
}

namespace {

// The portable path's column sums.  Out of line: its time-adjusted
// coefficients take most of a page of stack, and the module keeps every
// frame within one page, as it links no stack-probe routine on Windows.
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

// The field at a point and, with kRates, its rate of change, both in the
// geocentric spherical frame with the east component no longer times st.
template <bool kRates>
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
    b = SumOrdersWide<kRates>(model, dt, ct, st, aor, slon, clon, rates);
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
      *rates = paired::CombineColumns(model, columns.rates, columns.aor2, sp,
                                      cp);
    }
  }
  // Only exactly at a pole: no tolerance, so the branch is taken exactly
  // where dividing by st is impossible.
  b.bp = st == 0.0 ? paired::PolarEast(model, model.g, model.gDot, model.h,
                                       model.hDot, dt, ct, aor, slon, clon)
                   : b.bp / st;
  if (kRates) {
    rates->bp = st == 0.0 ? paired::PolarEast(model, model.gDot,
                                              paired::kNoCoefficients,
                                              model.hDot,
                                              paired::kNoCoefficients, 0.0,
                                              ct, aor, slon, clon)
                          : rates->bp / st;
  }
  return b;
}

}  // namespace

void FieldModel::Evaluate(double altitude, double latitude, double longitude,
                          double year, double& X, double& Y, double& Z,
                          double& F, double& H, double& D, double& I) const {
  const GeocentricPoint point = ToGeocentric(altitude, latitude);
  const SphericalField b = SumExpansion<false>(
      *this, year - static_cast<double>(epoch), point, longitude, nullptr);
  ToGeodetic(b, point, X, Y, Z);
  DerivedElements(X, Y, Z, F, H, D, I);
}

void FieldModel::EvaluateWithRates(double altitude, double latitude,
                                   double longitude, double year, double& X,
                                   double& Y, double& Z, double& F, double& H,
                                   double& D, double& I, double& dX,
                                   double& dY, double& dZ) const {
  const GeocentricPoint point = ToGeocentric(altitude, latitude);
  SphericalField rates;
  const SphericalField b = SumExpansion<true>(
      *this, year - static_cast<double>(epoch), point, longitude, &rates);
  ToGeodetic(b, point, X, Y, Z);
  DerivedElements(X, Y, Z, F, H, D, I);
  ToGeodetic(rates, point, dX, dY, dZ);
}

}  // namespace norvane
