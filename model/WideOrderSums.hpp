#pragma once
/**
 * \file WideOrderSums.hpp
 * \brief The expansion's order sums, four orders side by side with AVX2 and
 *   fused multiply-add, for processors that have both.
 *
 * Compiled for those instructions whatever the build's target, so the caller
 * must check at run time that the processor has them
 * (NORVANE_WIDE_ORDER_SUMS is 1 where this path exists).  Windows builds
 * leave it out: GCC cannot align the stack for 32-byte registers spilled to
 * it on 64-bit Windows, and the 32-bit DLL keeps to the path that its tests
 * run.  Defining NORVANE_NO_WIDE_ORDER_SUMS leaves it out too, so that the
 * portable path can be tested on any machine.
 */

#if !defined(NORVANE_NO_WIDE_ORDER_SUMS) && defined(__GNUC__) && \
    (defined(__x86_64__) || defined(__i386__)) && !defined(_WIN32)
#define NORVANE_WIDE_ORDER_SUMS 1
#else
#define NORVANE_WIDE_ORDER_SUMS 0
#endif

#if NORVANE_WIDE_ORDER_SUMS

#include <immintrin.h>

#include "model/FieldModel.hpp"
#include "model/SphericalField.hpp"

#define NORVANE_WIDE __attribute__((target("avx2,fma")))

namespace norvane {

namespace wide {

/// The degree the wide sums are laid out for, fully unrolled.
constexpr int kDegree = FieldModel::kSize - 1;

/// Orders per register.
constexpr int kLanes = 4;

/// What the columns share: the point's terms, broadcast to every lane.
struct Point {
  __m256d dt;    // years since the epoch
  __m256d act;   // aor cos(colatitude)
  __m256d ast;   // aor sin(colatitude)
  __m256d aor2;  // aor^2
};

/// What one register's orders m0 to m0 + 3 take from the point, by lane.
struct Orders {
  __m256d pd;   // Pt(m, m), where the column starts
  __m256d dpd;  // dPt(m, m)
  __m256d cp;   // cos(m x longitude)
  __m256d sp;   // sin(m x longitude)
};

/// Totals over the orders summed so far, one lane per order modulo 4.
struct Totals {
  __m256d radial;
  __m256d south;
  __m256d east;
};

/**
 * @param[in] lane 0 to 3.
 * @return all bits set in that lane, none in the others.
 */
NORVANE_WIDE inline __m256d LaneMask(int lane) {
  return _mm256_castsi256_pd(_mm256_cmpeq_epi64(_mm256_setr_epi64x(0, 1, 2, 3),
                                                _mm256_set1_epi64x(lane)));
}

/**
 * Adds the columns of orders kFirst to kFirst + 3, degree by degree.
 *
 * @tparam kRates whether to sum the secular variation too, on the same
 *   Legendre functions, into rateTotals.
 * @tparam kSecularDegree highest degree with secular variation.  Beyond it
 *   gDot and hDot must be 0: g + 0 x dt is g for every finite dt, and a
 *   non-finite dt still makes every output NaN through the lower degrees.
 * @param[in] model the coefficients and recursion constants.
 * @param[in] point the point's terms.
 * @param[in] orders the orders' diagonal values and multiples of the
 *   longitude.
 * @param[in,out] totals the totals to add to.
 * @param[in,out] rateTotals the rates' totals to add to; untouched unless
 *   kRates.
 */
template <int kFirst, bool kRates, int kSecularDegree>
NORVANE_WIDE __attribute__((always_inline)) inline void AddColumns(
    const FieldModel& model, const Point& point, const Orders& orders,
    Totals& totals, Totals& rateTotals) {
  static_assert(kFirst + kLanes - 1 <= kDegree, "columns beyond the rows");
  const __m256d zero = _mm256_setzero_pd();
  // Degrees n - 1 and n - 2 of the columns; a lane stays 0 above its
  // diagonal.  Degree 0 contributes nothing, so column 0 starts at degree 1.
  __m256d p1 = kFirst == 0 ? _mm256_setr_pd(1.0, 0.0, 0.0, 0.0) : zero;
  __m256d dp1 = zero;
  __m256d p2 = zero;
  __m256d dp2 = zero;
  // Sums over n of tg Pt, th Pt, tg dPt and th dPt, with tg, th the
  // time-adjusted coefficients, and the sums over n of the first two's
  // running totals, from which the radial sums weighted by n + 1 follow.
  __m256d eg = zero, eh = zero, sg = zero, sh = zero, rg = zero, rh = zero;
  // The same with gDot and hDot, when rates are asked for.
  __m256d deg = zero, deh = zero, dsg = zero, dsh = zero, drg = zero,
          drh = zero;
#pragma GCC unroll 16
  for (int n = kFirst == 0 ? 1 : kFirst; n <= kDegree; ++n) {
    const __m256d kn =
        _mm256_mul_pd(point.aor2, _mm256_loadu_pd(&model.k[n][kFirst]));
    __m256d q;   // subtracted from act p1 for p
    __m256d dq;  // subtracted from act dp1 for dp
    if (n - kFirst < kLanes) {
      // Column n starts here, its lane of p1, p2, dp1 and dp2 still 0: its
      // diagonal values enter through what is subtracted.
      const __m256d lane = LaneMask(n - kFirst);
      q = _mm256_fmsub_pd(kn, p2, _mm256_and_pd(orders.pd, lane));
      dq = _mm256_fmadd_pd(
          kn, dp2,
          _mm256_fmsub_pd(point.ast, p1, _mm256_and_pd(orders.dpd, lane)));
    } else {
      q = _mm256_mul_pd(kn, p2);
      dq = _mm256_fmadd_pd(kn, dp2, _mm256_mul_pd(point.ast, p1));
    }
    const __m256d p = _mm256_fmsub_pd(point.act, p1, q);
    const __m256d dp = _mm256_fmsub_pd(point.act, dp1, dq);
    __m256d tg = _mm256_loadu_pd(&model.g[n][kFirst]);
    __m256d th = _mm256_loadu_pd(&model.h[n][kFirst]);
    if (n <= kSecularDegree) {
      tg = _mm256_fmadd_pd(_mm256_loadu_pd(&model.gDot[n][kFirst]), point.dt,
                           tg);
      th = _mm256_fmadd_pd(_mm256_loadu_pd(&model.hDot[n][kFirst]), point.dt,
                           th);
    }
    eg = _mm256_fmadd_pd(tg, p, eg);
    eh = _mm256_fmadd_pd(th, p, eh);
    sg = _mm256_fmadd_pd(tg, dp, sg);
    sh = _mm256_fmadd_pd(th, dp, sh);
    rg = _mm256_add_pd(rg, eg);
    rh = _mm256_add_pd(rh, eh);
    if (kRates) {
      if (n <= kSecularDegree) {
        const __m256d gd = _mm256_loadu_pd(&model.gDot[n][kFirst]);
        const __m256d hd = _mm256_loadu_pd(&model.hDot[n][kFirst]);
        deg = _mm256_fmadd_pd(gd, p, deg);
        deh = _mm256_fmadd_pd(hd, p, deh);
        dsg = _mm256_fmadd_pd(gd, dp, dsg);
        dsh = _mm256_fmadd_pd(hd, dp, dsh);
      }
      drg = _mm256_add_pd(drg, deg);
      drh = _mm256_add_pd(drh, deh);
    }
    p2 = p1;
    dp2 = dp1;
    p1 = p;
    dp1 = dp;
  }
  // Sum of (n + 1) x(n) over n <= N: (N + 2) times the sum of x(n) less the
  // sum of its running totals, which counts x(n) N + 1 - n times.
  const __m256d weight = _mm256_set1_pd(model.fn[kDegree] + 1.0);
  const __m256d c = orders.cp;
  const __m256d s = orders.sp;
  const __m256d fm = _mm256_loadu_pd(&model.fm[kFirst]);
  // Sums of tg Pt, th Pt, tg dPt, th dPt and running totals into t.
  const auto add = [&](__m256d xg, __m256d xh, __m256d yg, __m256d yh,
                       __m256d zg, __m256d zh, Totals& t) NORVANE_WIDE {
    zg = _mm256_fmsub_pd(weight, xg, zg);
    zh = _mm256_fmsub_pd(weight, xh, zh);
    t.radial = _mm256_fmadd_pd(c, zg, _mm256_fmadd_pd(s, zh, t.radial));
    t.south = _mm256_fmadd_pd(c, yg, _mm256_fmadd_pd(s, yh, t.south));
    t.east = _mm256_fmadd_pd(fm, _mm256_fmsub_pd(s, xg, _mm256_mul_pd(c, xh)),
                             t.east);
  };
  add(eg, eh, sg, sh, rg, rh, totals);
  if (kRates) add(deg, deh, dsg, dsh, drg, drh, rateTotals);
}

/// @return the sum of the four lanes of x.
NORVANE_WIDE inline double LaneSum(__m256d x) {
  const __m128d half =
      _mm_add_pd(_mm256_castpd256_pd128(x), _mm256_extractf128_pd(x, 1));
  return _mm_cvtsd_f64(_mm_add_sd(half, _mm_unpackhi_pd(half, half)));
}

}  // namespace wide

/// @return whether this processor runs SumOrdersWide.
inline bool WideOrderSumsSupported() {
  return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
}

/**
 * Sums the expansion order by order, four orders per register, for a model
 * of degree wide::kDegree.
 *
 * @tparam kRates whether to sum the secular variation too, into *rates.
 * @tparam kSecularDegree highest degree with secular variation, as for
 *   AddColumns: kWmm2005SecularDegree for the compiled-in table.
 * @param[in] model the coefficients and recursion constants; its maxDegree
 *   must be wide::kDegree.
 * @param[in] dt years since the model's epoch.
 * @param[in] ct cosine of the geocentric colatitude.
 * @param[in] st sine of the geocentric colatitude, >= 0.
 * @param[in] aor reference radius over geocentric distance.
 * @param[in] slon sine of the longitude.
 * @param[in] clon cosine of the longitude.
 * @param[out] rates with kRates, the field's rate of change, nT/year, its
 *   east component still times st; else unused and may be null.
 * @return the field, nT; its east component still times st.
 *
 * The Legendre recursions run on Pt(n, m) = aor^n P(n, m) down the columns
 * of orders m0 to m0 + 3 together; the radial factor's remaining aor^2 is
 * applied to the totals.  Each column takes its diagonal value,
 * Pt(m, m) = (aor st)^m with dPt(m, m) = m (aor st)^(m - 1) aor ct, at the
 * degree where it starts.  The multiples of the longitude come by angle
 * addition, four orders at a time from those four below.
 */
template <bool kRates, int kSecularDegree>
NORVANE_WIDE inline SphericalField SumOrdersWide(const FieldModel& model,
                                                 double dt, double ct,
                                                 double st, double aor,
                                                 double slon, double clon,
                                                 SphericalField* rates) {
  using namespace wide;
  const double aor2 = aor * aor;
  const double act = aor * ct;
  const double ast = aor * st;

  // Orders 0 to 3 directly, then four by four.
  const double ast2 = ast * ast;
  const double ast3 = ast2 * ast;
  const double ast4 = ast2 * ast2;
  const double c2 = clon * clon - slon * slon;
  const double s2 = slon * clon + clon * slon;
  const double c3 = clon * c2 - slon * s2;
  const double s3 = slon * c2 + clon * s2;
  const double c4 = c2 * c2 - s2 * s2;
  const double s4 = s2 * c2 + c2 * s2;
  const __m256d vc4 = _mm256_set1_pd(c4);
  const __m256d vs4 = _mm256_set1_pd(s4);
  const __m256d vast4 = _mm256_set1_pd(ast4);
  const __m256d vact = _mm256_set1_pd(act);
  Orders low;
  low.pd = _mm256_setr_pd(1.0, ast, ast2, ast3);
  low.dpd = _mm256_mul_pd(_mm256_mul_pd(vact, _mm256_loadu_pd(&model.fm[0])),
                          _mm256_setr_pd(0.0, 1.0, ast, ast2));
  low.cp = _mm256_setr_pd(1.0, clon, c2, c3);
  low.sp = _mm256_setr_pd(0.0, slon, s2, s3);
  // The next four orders from the last: (aor st)^4 times the diagonal,
  // angle addition of 4 x longitude.
  const auto next = [&](const Orders& o, int first) NORVANE_WIDE {
    Orders r;
    r.pd = _mm256_mul_pd(o.pd, vast4);
    r.dpd =
        _mm256_mul_pd(_mm256_mul_pd(vact, _mm256_loadu_pd(&model.fm[first])),
                      _mm256_mul_pd(o.pd, _mm256_set1_pd(ast3)));
    r.cp = _mm256_fmsub_pd(o.cp, vc4, _mm256_mul_pd(o.sp, vs4));
    r.sp = _mm256_fmadd_pd(o.sp, vc4, _mm256_mul_pd(o.cp, vs4));
    return r;
  };
  const Orders middle = next(low, 4);
  const Orders high = next(middle, 8);

  const Point point{_mm256_set1_pd(dt), vact, _mm256_set1_pd(ast),
                    _mm256_set1_pd(aor2)};
  Totals totals{_mm256_setzero_pd(), _mm256_setzero_pd(), _mm256_setzero_pd()};
  Totals rateTotals = totals;
  AddColumns<0, kRates, kSecularDegree>(model, point, low, totals, rateTotals);
  AddColumns<4, kRates, kSecularDegree>(model, point, middle, totals,
                                        rateTotals);
  AddColumns<8, kRates, kSecularDegree>(model, point, high, totals, rateTotals);
  static_assert(3 * kLanes == kDegree, "one order left for the end");

  // Order 12 has its diagonal term only; order 8 is lane 0 of the last
  // register.
  static_assert(kSecularDegree <= kDegree, "no degrees beyond the model's");
  constexpr bool kSecular12 = kSecularDegree == kDegree;
  const double gDot = model.gDot[kDegree][kDegree];
  const double hDot = model.hDot[kDegree][kDegree];
  const double tg = kSecular12 ? gDot * dt + model.g[kDegree][kDegree]
                               : model.g[kDegree][kDegree];
  const double th = kSecular12 ? hDot * dt + model.h[kDegree][kDegree]
                               : model.h[kDegree][kDegree];
  const double pd8 = _mm256_cvtsd_f64(high.pd);
  const double pd = pd8 * ast4;
  const double dpd = model.fm[kDegree] * act * (pd8 * ast3);
  const double cp8 = _mm256_cvtsd_f64(high.cp);
  const double sp8 = _mm256_cvtsd_f64(high.sp);
  const double cp = cp8 * c4 - sp8 * s4;
  const double sp = sp8 * c4 + cp8 * s4;
  SphericalField b;
  b.br = aor2 * (LaneSum(totals.radial) +
                 model.fn[kDegree] * pd * (tg * cp + th * sp));
  b.bt = -aor2 * (LaneSum(totals.south) + dpd * (tg * cp + th * sp));
  b.bp = aor2 *
         (LaneSum(totals.east) + model.fm[kDegree] * pd * (tg * sp - th * cp));
  if (kRates && !kSecular12) {  // order 12 has no secular variation
    rates->br = aor2 * LaneSum(rateTotals.radial);
    rates->bt = -aor2 * LaneSum(rateTotals.south);
    rates->bp = aor2 * LaneSum(rateTotals.east);
  } else if (kRates) {
    rates->br = aor2 * (LaneSum(rateTotals.radial) +
                        model.fn[kDegree] * pd * (gDot * cp + hDot * sp));
    rates->bt =
        -aor2 * (LaneSum(rateTotals.south) + dpd * (gDot * cp + hDot * sp));
    rates->bp = aor2 * (LaneSum(rateTotals.east) +
                        model.fm[kDegree] * pd * (gDot * sp - hDot * cp));
  }
  return b;
}

}  // namespace norvane

#undef NORVANE_WIDE

#endif
