#include "model/FieldModel.hpp"

#include <cmath>

#include "model/Wgs84.hpp"
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
        schmidt *= std::sqrt(static_cast<double>((n - m + 1) * j) /
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

void FieldModel::Evaluate(double altitude, double latitude, double longitude,
                          double year, double& X, double& Y, double& Z,
                          double& F, double& H, double& D, double& I) const {
  using namespace wgs84;
  const double dt = year - static_cast<double>(epoch);

  // Geodetic to geocentric spherical coordinates.
  const double srlat = std::sin(latitude);
  const double crlat = std::cos(latitude);
  const double srlat2 = srlat * srlat;
  const double crlat2 = crlat * crlat;
  const double q = std::sqrt(a2 - c2 * srlat2);
  const double q1 = altitude * q;
  const double q2 = ((a2 + q1) / (b2 + q1)) * ((a2 + q1) / (b2 + q1));
  const double ct = srlat / std::sqrt(q2 * crlat2 + srlat2);
  const double st = std::sqrt(1.0 - ct * ct);
  const double r = std::sqrt(altitude * altitude + 2.0 * q1 +
                             (a4 - c4 * srlat2) / (q * q));
  const double d = std::sqrt(a2 * crlat2 + b2 * srlat2);
  const double ca = (altitude + d) / r;
  const double sa = c2 * crlat * srlat / (r * d);

  // sin and cos of m x longitude by angle addition.
  double sp[kSize];
  double cp[kSize];
  sp[0] = 0.0;
  cp[0] = 1.0;
  sp[1] = std::sin(longitude);
  cp[1] = std::cos(longitude);
  for (int m = 2; m <= maxDegree; ++m) {
    sp[m] = sp[1] * cp[m - 1] + cp[1] * sp[m - 1];
    cp[m] = cp[1] * cp[m - 1] - sp[1] * sp[m - 1];
  }

  double P[kSize][kSize];
  double dP[kSize][kSize];
  double PP[kSize];
  const double aor = re / r;
  double ar = aor * aor;
  P[0][0] = 1.0;
  dP[0][0] = 0.0;
  PP[0] = 1.0;
  double br = 0.0;
  double bt = 0.0;
  double bp = 0.0;
  double bpp = 0.0;
  const bool atPole = st == 0.0;

  for (int n = 1; n <= maxDegree; ++n) {
    ar *= aor;
    for (int m = 0; m <= n; ++m) {
      if (m == n) {
        P[n][n] = st * P[n - 1][n - 1];
        dP[n][n] = st * dP[n - 1][n - 1] + ct * P[n - 1][n - 1];
      } else if (n == 1) {
        P[1][0] = ct * P[0][0];
        dP[1][0] = ct * dP[0][0] - st * P[0][0];
      } else {
        P[n][m] = ct * P[n - 1][m];
        dP[n][m] = ct * dP[n - 1][m] - st * P[n - 1][m];
        if (m <= n - 2) {
          P[n][m] -= k[n][m] * P[n - 2][m];
          dP[n][m] -= k[n][m] * dP[n - 2][m];
        }
      }
      const double tg = gDot[n][m] * dt + g[n][m];
      const double th = hDot[n][m] * dt + h[n][m];
      const double par = ar * P[n][m];
      const double temp1 = tg * cp[m] + th * sp[m];
      const double temp2 = tg * sp[m] - th * cp[m];
      bt -= ar * temp1 * dP[n][m];
      bp += fm[m] * temp2 * par;
      br += fn[n] * temp1 * par;
      if (atPole && m == 1) {
        PP[n] = n == 1 ? PP[0] : ct * PP[n - 1] - k[n][1] * PP[n - 2];
        bpp += (temp2 * fm[1]) * (ar * PP[n]);
      }
    }
  }
  bp = atPole ? bpp : bp / st;

  // Rotate from geocentric to geodetic components.
  X = -bt * ca - br * sa;
  Y = bp;
  Z = bt * sa - br * ca;
  H = std::sqrt(X * X + Y * Y);
  F = std::sqrt(H * H + Z * Z);
  D = std::atan2(Y, X);
  I = std::atan2(Z, H);
}

}  // namespace norvane
