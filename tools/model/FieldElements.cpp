#include "tools/model/FieldElements.hpp"

namespace norvane {

FieldElements RatesOfChange(const FieldElements& f, double dX, double dY,
                            double dZ) {
  FieldElements rates;
  rates.X = dX;
  rates.Y = dY;
  rates.Z = dZ;
  rates.H = (f.X * dX + f.Y * dY) / f.H;
  rates.F = (f.H * rates.H + f.Z * dZ) / f.F;
  rates.D = (f.X * dY - f.Y * dX) / (f.H * f.H);
  rates.I = (f.H * dZ - f.Z * rates.H) / (f.F * f.F);
  return rates;
}

FieldAndRates ToElements(const SphericalField& b, const SphericalField* rates,
                         const GeocentricPoint& point) {
  FieldAndRates r{};
  FieldElements& f = r.field;
  ToGeodetic(b, point, f.X, f.Y, f.Z);
  DerivedElements(f.X, f.Y, f.Z, f.F, f.H, f.D, f.I);
  if (rates != nullptr) {
    double dX, dY, dZ;
    ToGeodetic(*rates, point, dX, dY, dZ);
    r.rates = RatesOfChange(f, dX, dY, dZ);
  }
  return r;
}

}  // namespace norvane
