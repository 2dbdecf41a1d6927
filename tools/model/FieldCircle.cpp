#include "tools/model/FieldCircle.hpp"

#include <math.h>

namespace norvane {

FieldCircle::FieldCircle(const FieldModel& model, double altitude,
                         double latitude, double dt, const Ellipsoid& ellipsoid)
    : model_(&model),
      point_(ToGeocentric(altitude, latitude, ellipsoid)),
      polarEast_{} {
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
      *model_, which == 0 ? columns_.field : columns_.rates, columns_.aor2, sp,
      cp);
  b.bp = point_.st == 0.0
             ? polarEast_[which][0] * slon + polarEast_[which][1] * clon
             : b.bp / point_.st;
  return b;
}

FieldAndRates FieldCircle::Evaluate(double longitude, bool rates) const {
  const double slon = sin(longitude);
  const double clon = cos(longitude);
  double sp[FieldModel::kSize];
  double cp[FieldModel::kSize];
  paired::LongitudeMultiples(model_->maxDegree, slon, clon, sp, cp);
  const SphericalField b = Combine(0, slon, clon, sp, cp);
  if (!rates) return ToElements(b, nullptr, point_);
  const SphericalField r = Combine(1, slon, clon, sp, cp);
  return ToElements(b, &r, point_);
}

}  // namespace norvane
