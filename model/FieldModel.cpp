#include "model/FieldModel.hpp"

#include <cmath>

#include "model/DoublePair.hpp"
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

namespace {

// Sums over the degrees n of two orders side by side (one per lane), with
// tg, th the time-adjusted coefficients and Pt, dPt the Legendre functions
// and their derivatives scaled by (re/r)^n.
struct OrderSums {
  DoublePair east{0.0, 0.0};        // sum of tg Pt  (g part of the east sum)
  DoublePair eastH{0.0, 0.0};       // sum of th Pt
  DoublePair south{0.0, 0.0};       // sum of tg dPt
  DoublePair southH{0.0, 0.0};      // sum of th dPt
  DoublePair radial{0.0, 0.0};      // sum of (n + 1) tg Pt
  DoublePair radialH{0.0, 0.0};     // sum of (n + 1) th Pt

  void Add(DoublePair tg, DoublePair th, double fn, DoublePair p,
           DoublePair dp) {
    const DoublePair xg = tg * p;
    const DoublePair xh = th * p;
    const DoublePair weight = DoublePair::Both(fn);
    east += xg;
    eastH += xh;
    south += tg * dp;
    southH += th * dp;
    radial += weight * xg;
    radialH += weight * xh;
  }
};

}  // namespace

void FieldModel::Evaluate(double altitude, double latitude, double longitude,
                          double year, double& X, double& Y, double& Z,
                          double& F, double& H, double& D, double& I) const {
  using namespace wgs84;
  const double dt = year - static_cast<double>(epoch);

  // Time-adjusted coefficients.  They do not depend on the point, so this
  // work overlaps the long latency of the coordinate conversion below.  A
  // row's last pair may take in the zero right of the diagonal.
  double tg[kSize][kSize];
  double th[kSize][kSize];
  const DoublePair dt2 = DoublePair::Both(dt);
  for (int n = 1; n <= maxDegree; ++n) {
    int m = 0;
    for (; m <= n && m + 1 < kSize; m += 2) {
      const DoublePair gt = DoublePair::Load(&gDot[n][m]) * dt2 +
                            DoublePair::Load(&g[n][m]);
      const DoublePair ht = DoublePair::Load(&hDot[n][m]) * dt2 +
                            DoublePair::Load(&h[n][m]);
      gt.Store(&tg[n][m]);
      ht.Store(&th[n][m]);
    }
    if (m <= n) {
      tg[n][m] = gDot[n][m] * dt + g[n][m];
      th[n][m] = hDot[n][m] * dt + h[n][m];
    }
  }

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

  // The Legendre recursions run on Pt(n, m) = aor^n P(n, m), which takes in
  // the radial factor (re/r)^(n + 2) but for aor^2, applied to the totals.
  // They go down the columns, two orders m0 and m0 + 1 at a time side by
  // side; with the whole column in hand, sin and cos of m x longitude
  // multiply each column's sums once.
  const double aor = re / r;
  const double aor2 = aor * aor;
  const double act = aor * ct;
  const double ast = aor * st;
  const DoublePair act2 = DoublePair::Both(act);
  const DoublePair ast2 = DoublePair::Both(ast);
  const DoublePair aor22 = DoublePair::Both(aor2);
  double br = 0.0;
  double bt = 0.0;
  double bp = 0.0;
  double pmm = 1.0;   // Pt(m0, m0)
  double dpmm = 0.0;  // dPt(m0, m0)
  for (int m0 = 0; m0 <= maxDegree; m0 += 2) {
    OrderSums sums;
    if (m0 > 0) {
      sums.Add(DoublePair(tg[m0][m0], 0.0), DoublePair(th[m0][m0], 0.0),
               fn[m0], DoublePair(pmm, 0.0), DoublePair(dpmm, 0.0));
    }
    if (m0 < maxDegree) {
      // Degree m0 + 1: order m0 steps off the diagonal, m0 + 1 is on it.
      DoublePair p2(pmm, 0.0);
      DoublePair dp2(dpmm, 0.0);
      DoublePair p1(act * pmm, ast * pmm);
      DoublePair dp1(act * dpmm - ast * pmm, ast * dpmm + act * pmm);
      pmm = ast * p1.second();
      dpmm = ast * dp1.second() + act * p1.second();
      for (int n = m0 + 1;; ++n) {
        sums.Add(DoublePair::Load(&tg[n][m0]), DoublePair::Load(&th[n][m0]),
                 fn[n], p1, dp1);
        if (n == maxDegree) break;
        const DoublePair kn = aor22 * DoublePair::Load(&k[n + 1][m0]);
        const DoublePair p = act2 * p1 - kn * p2;
        const DoublePair dp = act2 * dp1 - (ast2 * p1 + kn * dp2);
        p2 = p1;
        dp2 = dp1;
        p1 = p;
        dp1 = dp;
      }
    }
    double east[2], eastH[2], south[2], southH[2], radial[2], radialH[2];
    sums.east.Store(east);
    sums.eastH.Store(eastH);
    sums.south.Store(south);
    sums.southH.Store(southH);
    sums.radial.Store(radial);
    sums.radialH.Store(radialH);
    for (int lane = 0; lane < 2 && m0 + lane <= maxDegree; ++lane) {
      const int m = m0 + lane;
      br += cp[m] * radial[lane] + sp[m] * radialH[lane];
      bt -= cp[m] * south[lane] + sp[m] * southH[lane];
      bp += fm[m] * (sp[m] * east[lane] - cp[m] * eastH[lane]);
    }
  }
  br *= aor2;
  bt *= aor2;

  if (st == 0.0) {
    // At a pole every P(n, m >= 1) vanishes and so does the east sum; it
    // comes instead from the order-1 functions divided by sin(colatitude),
    // PP, which follow the recursion of P(n, 1) from PP(1) = 1.
    double bpp = 0.0;
    double pp2 = 0.0;
    double pp1 = 1.0;
    double ar = aor2;
    for (int n = 1; n <= maxDegree; ++n) {
      ar *= aor;
      const double pp = n == 1 ? pp1 : ct * pp1 - k[n][1] * pp2;
      pp2 = pp1;
      pp1 = pp;
      bpp += ((tg[n][1] * sp[1] - th[n][1] * cp[1]) * fm[1]) * (ar * pp);
    }
    bp = bpp;
  } else {
    bp *= aor2 / st;
  }

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
