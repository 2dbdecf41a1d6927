#include "model/FieldCircle.hpp"

#include <math.h>

namespace norvane {

FieldCircle::FieldCircle(const FieldModel& model, double altitude,
                         double latitude, double year)
    : model_(&model),
      point_(ToGeocentric(altitude, latitude)),
      polarEast_{} {
  const double dt = year - static_cast<double>(model.epoch);
  paired::Square tg;
  paired::Square th;
  paired::AdjustToYear(model, dt, tg, th);
  paired::SumColumns<true>(model, tg, th, point_.ct, point_.st, point_.aor,
                           columns_);
  if (point_.st != 0.0) return;
  // PolarEast is linear in sin and cos of the longitude.
  for (int lane = 0; lane < 2; ++lane) {
    const double s = lane == 0 ? 1.0 : 0.0;
    polarEast_[0][lane] =
        paired::PolarEast(model, model.g, model.gDot, model.h, model.hDot, dt,
                          point_.ct, point_.aor, s, 1.0 - s);
    polarEast_[1][lane] = paired::PolarEast(
        model, model.gDot, paired::kNoCoefficients, model.hDot,
        paired::kNoCoefficients, 0.0, point_.ct, point_.aor, s, 1.0 - s);
  }
}

SphericalField FieldCircle::Combine(int which, double slon, double clon,
                                    const double* sp, const double* cp) const {
  SphericalField b = paired::CombineColumns(
      *model_, which == 0 ? columns_.field : columns_.rates, columns_.aor2,
      sp, cp);
  b.bp = point_.st == 0.0
             ? polarEast_[which][0] * slon + polarEast_[which][1] * clon
             : b.bp / point_.st;
  return b;
}

void FieldCircle::Evaluate(double longitude, double& X, double& Y, double& Z,
                           double& F, double& H, double& D, double& I) const {
  double dX, dY, dZ;
  EvaluateAt(longitude, false, X, Y, Z, F, H, D, I, dX, dY, dZ);
}

void FieldCircle::EvaluateWithRates(double longitude, double& X, double& Y,
                                    double& Z, double& F, double& H,
                                    double& D, double& I, double& dX,
                                    double& dY, double& dZ) const {
  EvaluateAt(longitude, true, X, Y, Z, F, H, D, I, dX, dY, dZ);
}

void FieldCircle::EvaluateAt(double longitude, bool rates, double& X,
                             double& Y, double& Z, double& F, double& H,
                             double& D, double& I, double& dX, double& dY,
                             double& dZ) const {
  const double slon = sin(longitude);
  const double clon = cos(longitude);
  double sp[FieldModel::kSize];
  double cp[FieldModel::kSize];
  paired::LongitudeMultiples(model_->maxDegree, slon, clon, sp, cp);
  ToGeodetic(Combine(0, slon, clon, sp, cp), point_, X, Y, Z);
  DerivedElements(X, Y, Z, F, H, D, I);
  if (rates) ToGeodetic(Combine(1, slon, clon, sp, cp), point_, dX, dY, dZ);
}

}  // namespace norvane
