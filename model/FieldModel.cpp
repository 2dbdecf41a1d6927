#include "model/FieldModel.hpp"

#include <math.h>

#include "model/DoublePair.hpp"
#include "model/SphericalField.hpp"
#include "model/Wgs84.hpp"
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

constexpr int kSize = FieldModel::kSize;
using Square = double[kSize][kSize];

// Time-adjusted coefficients tg = g + gDot dt and th = h + hDot dt over the
// triangle.  A row's last pair may take in the zero right of the diagonal.
void AdjustToYear(const FieldModel& model, double dt, Square& tg,
                  Square& th) {
  const DoublePair dtPair = DoublePair::Both(dt);
  for (int n = 1; n <= model.maxDegree; ++n) {
    int m = 0;
    for (; m <= n && m + 1 < kSize; m += 2) {
      (DoublePair::Load(&model.gDot[n][m]) * dtPair +
       DoublePair::Load(&model.g[n][m]))
          .Store(&tg[n][m]);
      (DoublePair::Load(&model.hDot[n][m]) * dtPair +
       DoublePair::Load(&model.h[n][m]))
          .Store(&th[n][m]);
    }
    if (m <= n) {
      tg[n][m] = model.gDot[n][m] * dt + model.g[n][m];
      th[n][m] = model.hDot[n][m] * dt + model.h[n][m];
    }
  }
}

// Sums over the degrees n of two orders side by side (one per lane), with
// tg, th the time-adjusted coefficients and Pt, dPt the Legendre functions
// and their derivatives scaled by (re/r)^n.
struct OrderSums {
  DoublePair east{0.0, 0.0};     // sum of tg Pt
  DoublePair eastH{0.0, 0.0};    // sum of th Pt
  DoublePair south{0.0, 0.0};    // sum of tg dPt
  DoublePair southH{0.0, 0.0};   // sum of th dPt
  DoublePair radial{0.0, 0.0};   // sum of (n + 1) tg Pt
  DoublePair radialH{0.0, 0.0};  // sum of (n + 1) th Pt

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

// The expansion summed order by order.  The Legendre recursions run on
// Pt(n, m) = aor^n P(n, m), which takes in the radial factor (re/r)^(n + 2)
// but for aor^2, applied to the totals.  They go down the columns, orders
// m0 and m0 + 1 side by side; with a column's sums in hand, sin and cos of
// m x longitude multiply them once.
SphericalField SumOrders(const FieldModel& model, const Square& tg,
                    const Square& th, double ct, double st, double aor,
                    const double* sp, const double* cp) {
  const double aor2 = aor * aor;
  const double act = aor * ct;
  const double ast = aor * st;
  const DoublePair actPair = DoublePair::Both(act);
  const DoublePair astPair = DoublePair::Both(ast);
  const DoublePair aor2Pair = DoublePair::Both(aor2);
  // From Pt(m0, m0) to Pt(m0 + 1, m0) and Pt(m0 + 1, m0 + 1): off the
  // diagonal and along it.
  const DoublePair step(act, ast);
  const DoublePair stepCross(-ast, act);
  const int maxDegree = model.maxDegree;
  DoublePair radial(0.0, 0.0);
  DoublePair south(0.0, 0.0);
  DoublePair east(0.0, 0.0);
  double pmm = 1.0;   // Pt(m0, m0)
  double dpmm = 0.0;  // dPt(m0, m0)
  for (int m0 = 0; m0 <= maxDegree; m0 += 2) {
    OrderSums sums;
    if (m0 > 0) {
      sums.Add(DoublePair(tg[m0][m0], 0.0), DoublePair(th[m0][m0], 0.0),
               model.fn[m0], DoublePair(pmm, 0.0), DoublePair(dpmm, 0.0));
    }
    const bool pair = m0 < maxDegree;  // order m0 + 1 exists
    if (pair) {
      DoublePair p2(pmm, 0.0);
      DoublePair dp2(dpmm, 0.0);
      DoublePair p1 = step * DoublePair::Both(pmm);
      DoublePair dp1 = step * DoublePair::Both(dpmm) +
                       stepCross * DoublePair::Both(pmm);
      pmm = ast * p1.second();
      dpmm = ast * dp1.second() + act * p1.second();
      for (int n = m0 + 1;; ++n) {
        sums.Add(DoublePair::Load(&tg[n][m0]), DoublePair::Load(&th[n][m0]),
                 model.fn[n], p1, dp1);
        if (n == maxDegree) break;
        const DoublePair kn = aor2Pair * DoublePair::Load(&model.k[n + 1][m0]);
        const DoublePair p = actPair * p1 - kn * p2;
        const DoublePair dp = actPair * dp1 - (astPair * p1 + kn * dp2);
        p2 = p1;
        dp2 = dp1;
        p1 = p;
        dp1 = dp;
      }
    }
    const DoublePair cpPair(cp[m0], pair ? cp[m0 + 1] : 0.0);
    const DoublePair spPair(sp[m0], pair ? sp[m0 + 1] : 0.0);
    const DoublePair fmPair(model.fm[m0], pair ? model.fm[m0 + 1] : 0.0);
    radial += cpPair * sums.radial + spPair * sums.radialH;
    south += cpPair * sums.south + spPair * sums.southH;
    east += fmPair * (spPair * sums.east - cpPair * sums.eastH);
  }
  SphericalField b;
  b.br = aor2 * (radial.first() + radial.second());
  b.bt = -aor2 * (south.first() + south.second());
  b.bp = aor2 * (east.first() + east.second());
  return b;
}

// The order sums two orders side by side, from the coefficients adjusted
// to the year beforehand and sin and cos of m x longitude by angle
// addition, with slon and clon those of the longitude.
SphericalField SumOrdersPaired(const FieldModel& model, double dt, double ct,
                               double st, double aor, double slon,
                               double clon) {
  Square tg;
  Square th;
  AdjustToYear(model, dt, tg, th);
  double sp[kSize];
  double cp[kSize];
  sp[0] = 0.0;
  cp[0] = 1.0;
  sp[1] = slon;
  cp[1] = clon;
  for (int m = 2; m <= model.maxDegree; ++m) {
    sp[m] = slon * cp[m - 1] + clon * sp[m - 1];
    cp[m] = clon * cp[m - 1] - slon * sp[m - 1];
  }
  return SumOrders(model, tg, th, ct, st, aor, sp, cp);
}

// East component exactly at a pole, where every P(n, m >= 1) and with them
// the east sum vanish: it comes instead from the order-1 functions divided
// by sin(colatitude), PP, which follow the recursion of P(n, 1) from
// PP(1) = 1.
double PolarEast(const FieldModel& model, double dt, double ct, double aor,
                 double slon, double clon) {
  double bpp = 0.0;
  double pp2 = 0.0;
  double pp1 = 1.0;
  double ar = aor * aor;
  for (int n = 1; n <= model.maxDegree; ++n) {
    ar *= aor;
    const double pp = n == 1 ? pp1 : ct * pp1 - model.k[n][1] * pp2;
    pp2 = pp1;
    pp1 = pp;
    const double tg = model.gDot[n][1] * dt + model.g[n][1];
    const double th = model.hDot[n][1] * dt + model.h[n][1];
    bpp += ((tg * slon - th * clon) * model.fm[1]) * (ar * pp);
  }
  return bpp;
}

}  // namespace

void FieldModel::Evaluate(double altitude, double latitude, double longitude,
                          double year, double& X, double& Y, double& Z,
                          double& F, double& H, double& D, double& I) const {
  const double dt = year - static_cast<double>(epoch);

  // Geodetic to geocentric spherical coordinates.
  const double srlat = sin(latitude);
  const double crlat = cos(latitude);
  const double srlat2 = srlat * srlat;
  const double crlat2 = crlat * crlat;
  const double q = sqrt(wgs84::a2 - wgs84::c2 * srlat2);
  const double q1 = altitude * q;
  const double q2 = ((wgs84::a2 + q1) / (wgs84::b2 + q1)) *
                    ((wgs84::a2 + q1) / (wgs84::b2 + q1));
  const double ct = srlat / sqrt(q2 * crlat2 + srlat2);
  const double st = sqrt(1.0 - ct * ct);
  const double r = sqrt(altitude * altitude + 2.0 * q1 +
                             (wgs84::a4 - wgs84::c4 * srlat2) / (q * q));
  const double d = sqrt(wgs84::a2 * crlat2 + wgs84::b2 * srlat2);
  const double ca = (altitude + d) / r;
  const double sa = wgs84::c2 * crlat * srlat / (r * d);

  const double slon = sin(longitude);
  const double clon = cos(longitude);

  const double aor = wgs84::re / r;
#if NORVANE_WIDE_ORDER_SUMS
  // Four orders at a time where the processor can; both ways give the same
  // sums but for rounding.
  SphericalField b =
      maxDegree == wide::kDegree && WideOrderSumsSupported()
          ? SumOrdersWide(*this, dt, ct, st, aor, slon, clon)
          : SumOrdersPaired(*this, dt, ct, st, aor, slon, clon);
#else
  SphericalField b = SumOrdersPaired(*this, dt, ct, st, aor, slon, clon);
#endif
  // Only exactly at a pole: no tolerance, so the branch is taken exactly
  // where dividing by st is impossible.
  b.bp = st == 0.0 ? PolarEast(*this, dt, ct, aor, slon, clon) : b.bp / st;

  // Rotate from geocentric to geodetic components.
  X = -b.bt * ca - b.br * sa;
  Y = b.bp;
  Z = b.bt * sa - b.br * ca;
  H = sqrt(X * X + Y * Y);
  F = sqrt(H * H + Z * Z);
  D = atan2(Y, X);
  I = atan2(Z, H);
}

}  // namespace norvane
