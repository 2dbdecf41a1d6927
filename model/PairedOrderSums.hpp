#pragma once
/**
 * \file PairedOrderSums.hpp
 * \brief The expansion's order sums, two orders side by side, on any
 *   processor; and the east component exactly at a pole.
 *
 * The work splits in two: the column sums over the degrees, which depend on
 * the colatitude, the radius and the year only, and their combination with
 * the multiples of the longitude.  A circle of latitude does the first once.
 */

#include "model/DoublePair.hpp"
#include "model/FieldModel.hpp"
#include "model/SphericalField.hpp"

namespace norvane {
namespace paired {

constexpr int kSize = FieldModel::kSize;
using Square = double[kSize][kSize];

/// Pairs of orders: (0, 1), (2, 3), ..., (12, none).
constexpr int kPairs = (kSize + 1) / 2;

/**
 * Time-adjusted coefficients tg = g + gDot dt and th = h + hDot dt over the
 * triangle.  A row's last pair may take in the zero right of the diagonal.
 *
 * @param[in] model the coefficients.
 * @param[in] dt years since the model's epoch.
 * @param[out] tg, th the adjusted coefficients, nT.
 */
inline void AdjustToYear(const FieldModel& model, double dt, Square& tg,
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

/**
 * Sums over the degrees n of two orders side by side (one per lane), with
 * tg, th the coefficients and Pt, dPt the Legendre functions and their
 * derivatives scaled by (re/r)^n.
 */
struct OrderSums {
  DoublePair east{0.0, 0.0};     ///< sum of tg Pt
  DoublePair eastH{0.0, 0.0};    ///< sum of th Pt
  DoublePair south{0.0, 0.0};    ///< sum of tg dPt
  DoublePair southH{0.0, 0.0};   ///< sum of th dPt
  DoublePair radial{0.0, 0.0};   ///< sum of (n + 1) tg Pt
  DoublePair radialH{0.0, 0.0};  ///< sum of (n + 1) th Pt

  /// Adds degree n: coefficients tg, th, fn = n + 1, functions p, dp.
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

/// The column sums of every pair of orders at one colatitude and radius.
template <bool kRates>
struct Columns {
  OrderSums field[kPairs];  ///< with the time-adjusted coefficients
  /// With gDot and hDot; without rates one unused entry, so that the page's
  /// evaluation keeps its stack frame within one page.
  OrderSums rates[kRates ? kPairs : 1];
  double aor2;  ///< (re/r)^2, applied to the totals
};

/**
 * Sums down the columns of the expansion.  The Legendre recursions run on
 * Pt(n, m) = aor^n P(n, m), which takes in the radial factor
 * (re/r)^(n + 2) but for aor^2, applied to the totals.  They go down the
 * columns, orders m0 and m0 + 1 side by side.
 *
 * @tparam kRates whether to sum the secular variation too, on the same
 *   Legendre functions.
 * @param[in] model the coefficients and recursion constants.
 * @param[in] tg, th the time-adjusted coefficients, nT.
 * @param[in] ct, st cosine and sine (>= 0) of the geocentric colatitude.
 * @param[in] aor reference radius over geocentric distance.
 * @param[out] columns the sums.
 */
template <bool kRates>
void SumColumns(const FieldModel& model, const Square& tg, const Square& th,
                double ct, double st, double aor, Columns<kRates>& columns) {
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
  columns.aor2 = aor2;
  double pmm = 1.0;   // Pt(m0, m0)
  double dpmm = 0.0;  // dPt(m0, m0)
  for (int m0 = 0; m0 <= maxDegree; m0 += 2) {
    OrderSums& sums = columns.field[m0 / 2];
    OrderSums& rates = columns.rates[kRates ? m0 / 2 : 0];
    sums = OrderSums();
    rates = OrderSums();
    if (m0 > 0) {
      sums.Add(DoublePair(tg[m0][m0], 0.0), DoublePair(th[m0][m0], 0.0),
               model.fn[m0], DoublePair(pmm, 0.0), DoublePair(dpmm, 0.0));
      if (kRates) {
        rates.Add(DoublePair(model.gDot[m0][m0], 0.0),
                  DoublePair(model.hDot[m0][m0], 0.0), model.fn[m0],
                  DoublePair(pmm, 0.0), DoublePair(dpmm, 0.0));
      }
    }
    if (m0 < maxDegree) {  // order m0 + 1 exists
      DoublePair p2(pmm, 0.0);
      DoublePair dp2(dpmm, 0.0);
      DoublePair p1 = step * DoublePair::Both(pmm);
      DoublePair dp1 =
          step * DoublePair::Both(dpmm) + stepCross * DoublePair::Both(pmm);
      pmm = ast * p1.second();
      dpmm = ast * dp1.second() + act * p1.second();
      for (int n = m0 + 1;; ++n) {
        sums.Add(DoublePair::Load(&tg[n][m0]), DoublePair::Load(&th[n][m0]),
                 model.fn[n], p1, dp1);
        if (kRates) {
          rates.Add(DoublePair::Load(&model.gDot[n][m0]),
                    DoublePair::Load(&model.hDot[n][m0]), model.fn[n], p1, dp1);
        }
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
  }
}

/**
 * Sines and cosines of m x longitude by angle addition.
 *
 * @param[in] maxDegree highest order.
 * @param[in] slon, clon sine and cosine of the longitude.
 * @param[out] sp, cp sin(m lon) and cos(m lon) for m = 0 to maxDegree.
 */
inline void LongitudeMultiples(int maxDegree, double slon, double clon,
                               double* sp, double* cp) {
  sp[0] = 0.0;
  cp[0] = 1.0;
  sp[1] = slon;
  cp[1] = clon;
  for (int m = 2; m <= maxDegree; ++m) {
    sp[m] = slon * cp[m - 1] + clon * sp[m - 1];
    cp[m] = clon * cp[m - 1] - slon * sp[m - 1];
  }
}

/**
 * Combines the column sums with the multiples of the longitude: with a
 * column's sums in hand, sin and cos of m x longitude multiply them once.
 *
 * @param[in] model the model the sums come from.
 * @param[in] sums one pair of orders' sums after the other.
 * @param[in] aor2 (re/r)^2.
 * @param[in] sp, cp sin(m lon) and cos(m lon), m = 0 to maxDegree.
 * @return the field, nT (or nT/year); its east component still times st.
 */
inline SphericalField CombineColumns(const FieldModel& model,
                                     const OrderSums* sums, double aor2,
                                     const double* sp, const double* cp) {
  const int maxDegree = model.maxDegree;
  DoublePair radial(0.0, 0.0);
  DoublePair south(0.0, 0.0);
  DoublePair east(0.0, 0.0);
  for (int m0 = 0; m0 <= maxDegree; m0 += 2) {
    const OrderSums& s = sums[m0 / 2];
    const bool pair = m0 < maxDegree;
    const DoublePair cpPair(cp[m0], pair ? cp[m0 + 1] : 0.0);
    const DoublePair spPair(sp[m0], pair ? sp[m0 + 1] : 0.0);
    const DoublePair fmPair(model.fm[m0], pair ? model.fm[m0 + 1] : 0.0);
    radial += cpPair * s.radial + spPair * s.radialH;
    south += cpPair * s.south + spPair * s.southH;
    east += fmPair * (spPair * s.east - cpPair * s.eastH);
  }
  SphericalField b;
  b.br = aor2 * (radial.first() + radial.second());
  b.bt = -aor2 * (south.first() + south.second());
  b.bp = aor2 * (east.first() + east.second());
  return b;
}

/**
 * East component exactly at a pole, where every P(n, m >= 1) and with them
 * the east sum vanish: it comes instead from the order-1 functions divided
 * by sin(colatitude), PP, which follow the recursion of P(n, 1) from
 * PP(1) = 1.
 *
 * @param[in] model the recursion constants.
 * @param[in] g, gDot, h, hDot coefficients and their rates; the sum uses
 *   g + gDot dt and h + hDot dt.
 * @param[in] dt years since the epoch.
 * @param[in] ct cosine of the colatitude, +-1.
 * @param[in] aor reference radius over geocentric distance.
 * @param[in] slon, clon sine and cosine of the longitude.
 * @return the east component, nT (nT/year for rates).
 */
inline double PolarEast(const FieldModel& model, const Square& g,
                        const Square& gDot, const Square& h, const Square& hDot,
                        double dt, double ct, double aor, double slon,
                        double clon) {
  double bpp = 0.0;
  double pp2 = 0.0;
  double pp1 = 1.0;
  double ar = aor * aor;
  for (int n = 1; n <= model.maxDegree; ++n) {
    ar *= aor;
    const double pp = n == 1 ? pp1 : ct * pp1 - model.k[n][1] * pp2;
    pp2 = pp1;
    pp1 = pp;
    const double tg = gDot[n][1] * dt + g[n][1];
    const double th = hDot[n][1] * dt + h[n][1];
    bpp += ((tg * slon - th * clon) * model.fm[1]) * (ar * pp);
  }
  return bpp;
}

/// Coefficients that are all zero, for PolarEast of the rates alone.
inline constexpr Square kNoCoefficients = {};

}  // namespace paired
}  // namespace norvane
