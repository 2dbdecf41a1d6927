#include "model/FieldModel.hpp"

#include "model/Expansion.hpp"
#include "model/Geocentric.hpp"
#include "model/SchmidtFactors.hpp"
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
  FillFieldModel(kWmm2005Degree, kWmm2005, *this);
}

void FillFieldModel(int degree, const CoefficientRow* rows, FieldModel& r) {
  constexpr int kSize = FieldModel::kSize;
  r.maxDegree = degree;
  for (int n = 0; n < kSize; ++n) {
    r.fn[n] = n > 0 ? n + 1 : 0;
    r.fm[n] = n;
    for (int m = 0; m < kSize; ++m) {
      r.g[n][m] = r.gDot[n][m] = r.h[n][m] = r.hDot[n][m] = 0.0;
      r.k[n][m] = n > 0 && m <= n ? RecursionConstant(n, m) : 0.0;
    }
  }
  ForEachSchmidtFactor(degree, [&r, rows](int n, int m, double schmidt) {
    const CoefficientRow& row = rows[CoefficientIndex(n, m)];
    r.g[n][m] = schmidt * row.g;
    r.gDot[n][m] = schmidt * row.gDot;
    r.h[n][m] = schmidt * row.h;
    r.hDot[n][m] = schmidt * row.hDot;
  });
}

void FieldModel::Evaluate(double altitude, double latitude, double longitude,
                          double year, double& X, double& Y, double& Z,
                          double& F, double& H, double& D, double& I) const {
  const GeocentricPoint point = ToGeocentric(altitude, latitude);
  const SphericalField b = SumExpansion<false, kWmm2005SecularDegree>(
      *this, year - static_cast<double>(epoch), point, longitude, nullptr);
  ToGeodetic(b, point, X, Y, Z);
  DerivedElements(X, Y, Z, F, H, D, I);
}

}  // namespace norvane
