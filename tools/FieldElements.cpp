#include "tools/FieldElements.hpp"

namespace norvane::tools {

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

}  // namespace norvane::tools
