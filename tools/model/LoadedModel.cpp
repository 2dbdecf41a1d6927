#include "tools/model/LoadedModel.hpp"

#include "tools/model/CoefficientFile.hpp"
#include "model/Expansion.hpp"
#include "model/Wmm2005.hpp"

namespace norvane {
namespace {

// The span of years every World Magnetic Model is issued for; the compiled-in
// one's bounds are the rule's one home.
constexpr double kValidYears = kWmm2005ValidUntil - kWmm2005ValidFrom;

}  // namespace

LoadedModel::LoadedModel()
    : name_("WMM-2005"),
      epoch_(kWmm2005ValidFrom),
      ellipsoid_(&kModuleWgs84),
      dipole_{kWmm2005[CoefficientIndex(1, 0)],
              kWmm2005[CoefficientIndex(1, 1)]} {
  static_assert(kWmm2005ValidFrom == kWmm2005Epoch,
                "the compiled-in model is valid from its epoch");
}

LoadedModel::LoadedModel(const Coefficients& c)
    : name_(c.name),
      epoch_(c.epoch),
      ellipsoid_(&kWgs84),
      dipole_{c.rows[CoefficientIndex(1, 0)], c.rows[CoefficientIndex(1, 1)]} {
  if (c.degree > kWmm2005Degree) {
    any_ = std::make_shared<const AnyDegreeSums>(c);
    return;
  }
  FillFieldModel(c.degree, c.rows.data(), record_);
  for (int n = kWmm2005SecularDegree + 1; n <= c.degree; ++n) {
    for (int m = 0; m <= n; ++m) {
      const CoefficientRow& row = c.rows[CoefficientIndex(n, m)];
      if (row.gDot != 0.0 || row.hDot != 0.0) fullSecular_ = true;
    }
  }
}

int LoadedModel::degree() const {
  return any_ ? any_->degree() : record_.maxDegree;
}

DipoleTerms LoadedModel::Dipole(double year) const {
  const double dt = year - epoch_;
  return {dipole_[0].g + dt * dipole_[0].gDot,
          dipole_[1].g + dt * dipole_[1].gDot,
          dipole_[1].h + dt * dipole_[1].hDot};
}

Validity LoadedModel::validity() const {
  return {epoch_, epoch_ + kValidYears, kWmm2005LowestAltitude,
          kWmm2005HighestAltitude};
}

FieldAndRates LoadedModel::Evaluate(double altitude, double latitude,
                                    double longitude, double year,
                                    bool rates) const {
  const GeocentricPoint point = ToGeocentric(altitude, latitude, *ellipsoid_);
  const double dt = year - epoch_;
  SphericalField b;
  SphericalField r;
  if (any_) {
    LongitudeTotals totals(longitude, rates);
    any_->SumPoint(dt, point, totals);
    b = any_->Finish(totals.field, dt, false, point, totals.slon, totals.clon);
    r = any_->Finish(totals.rates, dt, true, point, totals.slon, totals.clon);
  } else if (rates) {
    b = fullSecular_ ? SumExpansion<true, kWmm2005Degree>(record_, dt, point,
                                                          longitude, &r)
                     : SumExpansion<true, kWmm2005SecularDegree>(
                           record_, dt, point, longitude, &r);
  } else {
    b = fullSecular_ ? SumExpansion<false, kWmm2005Degree>(record_, dt, point,
                                                           longitude, nullptr)
                     : SumExpansion<false, kWmm2005SecularDegree>(
                           record_, dt, point, longitude, nullptr);
  }
  return ToElements(b, rates ? &r : nullptr, point);
}

ModelCircle::ModelCircle(const LoadedModel& model, double altitude,
                         double latitude, double year)
    : model_(&model),
      point_(ToGeocentric(altitude, latitude, *model.ellipsoid_)),
      dt_(year - model.epoch_) {
  if (!model.any_) {
    fixed_.emplace(model.record_, altitude, latitude, dt_, *model.ellipsoid_);
    return;
  }
  model.any_->SumColumnsInto(dt_, point_, columns_);
}

FieldAndRates ModelCircle::Evaluate(double longitude, bool rates) const {
  if (fixed_) return fixed_->Evaluate(longitude, rates);
  LongitudeTotals totals(longitude, rates);
  const AnyDegreeSums& any = *model_->any_;
  any.CombineColumns(columns_, totals);
  const SphericalField b =
      any.Finish(totals.field, dt_, false, point_, totals.slon, totals.clon);
  const SphericalField r =
      any.Finish(totals.rates, dt_, true, point_, totals.slon, totals.clon);
  return ToElements(b, rates ? &r : nullptr, point_);
}

}  // namespace norvane
