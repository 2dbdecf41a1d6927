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
  Setup();
}

void FieldModel::Setup() {
  ForEachSchmidtFactor(maxDegree, [this](int n, int m, double schmidt) {
    const CoefficientRow& row = kWmm2005[CoefficientIndex(n, m)];
    k[n][m] = RecursionConstant(n, m);
    if (m > 0) {
      h[n][m] = schmidt * row.h;
      hDot[n][m] = schmidt * row.hDot;
    }
    g[n][m] = schmidt * row.g;
    gDot[n][m] = schmidt * row.gDot;
    fn[n] = n + 1;
    fm[n] = n;
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
