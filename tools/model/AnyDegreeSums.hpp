#pragma once
/**
 * \file AnyDegreeSums.hpp
 * \brief The expansion of a model of any degree, one order at a time: the
 *   general path for models beyond the fixed record's degree 12.
 *
 * As the fixed-degree paths do, it runs the Legendre recursions on
 * unnormalised functions with the Schmidt factors folded into the
 * coefficients, so that evaluation takes no square roots; and it splits the
 * work into column sums over the degrees, which depend on the colatitude,
 * the radius and the year only, and their combination with the multiples of
 * the longitude.  Its cost grows as the square of the degree.
 *
 * Where the processor has AVX2 and FMA the columns are summed four orders
 * at a time (WideColumnSums.cpp), from coefficients laid out in the order
 * that summation reads them; elsewhere two at a time in SSE2 lanes.  The
 * two ways agree to rounding.
 */

#include <math.h>

#include <cstddef>
#include <vector>

#include "model/DoublePair.hpp"
#include "model/Geocentric.hpp"
#include "model/SphericalField.hpp"

namespace norvane {

struct Coefficients;
class LongitudeTotals;

/**
 * \brief Coefficients of any degree, laid out order by order, and their
 *   column sums.
 */
class AnyDegreeSums {
 public:
  /// One term (n, m): Schmidt-folded coefficients and its recursion constant.
  struct Term {
    double g;     ///< g(n,m) x S(n,m), nT
    double h;     ///< h(n,m) x S(n,m), nT
    double gDot;  ///< gdot(n,m) x S(n,m), nT/year
    double hDot;  ///< hdot(n,m) x S(n,m), nT/year
    double k;     ///< ((n-1)^2 - m^2) / ((2n-1)(2n-3))
  };

  /// Sums over the degrees of one order m, with tg, th the coefficients
  /// (time-adjusted, or their rates) and Pt, dPt the Legendre functions and
  /// their derivatives, scaled by (re/r)^n.
  struct OrderSums {
    double east = 0.0;     ///< sum of tg Pt
    double eastH = 0.0;    ///< sum of th Pt
    double south = 0.0;    ///< sum of tg dPt
    double southH = 0.0;   ///< sum of th dPt
    double radial = 0.0;   ///< sum of (n + 1) tg Pt
    double radialH = 0.0;  ///< sum of (n + 1) th Pt
  };

  /// An order's sums for the field and for its rate of change.
  struct Column {
    OrderSums field;
    OrderSums rates;
  };

  /// Four values, one for each of the orders m0 to m0 + 3, m0 a multiple
  /// of 4: one AVX register's worth.
  struct alignas(32) Quad {
    double lane[4];
  };

  /// @return whether this processor sums four orders at a time.
  static bool WideSupported();

  /**
   * Folds the Schmidt factors into a model's coefficients and lays them out
   * for the summation.
   *
   * @param[in] model the coefficients as the file gives them.
   * @param[in] wide whether to sum four orders at a time; only where
   *   WideSupported().  Tests compare the two ways.
   */
  explicit AnyDegreeSums(const Coefficients& model,
                         bool wide = WideSupported());

  /// @return the highest degree and order N.
  int degree() const { return degree_; }

  /**
   * Sums down every column of the expansion at one point.
   *
   * @tparam kRates whether to sum the secular variation too.
   * @param[in] dt years since the model's epoch.
   * @param[in] point the point's geocentric terms.
   * @param[in] sink called as sink(m, column) for m = 0 to N in turn; the
   *   column's rates are zero without kRates.  Its totals want (re/r)^2.
   */
  template <bool kRates, class Sink>
  void SumColumns(double dt, const GeocentricPoint& point, Sink&& sink) const;

  /**
   * Sums the whole expansion at one point: the totals that adding every
   * column of SumColumns to `totals` would give, to rounding, without the
   * columns in between.
   *
   * @param[in] dt years since the model's epoch.
   * @param[in] point the point's geocentric terms.
   * @param[in,out] totals of the point's longitude, as constructed; takes
   *   the totals of the field and, if it was made with rates, of the rates.
   */
  void SumPoint(double dt, const GeocentricPoint& point,
                LongitudeTotals& totals) const;

  /**
   * Sums every column at one point, for CombineColumns to combine with any
   * number of longitudes.
   *
   * @param[in] dt years since the model's epoch.
   * @param[in] point the point's geocentric terms.
   * @param[out] columns for each four orders, the sums of OrderSums in its
   *   order, of the field and then of the rates: twelve quads.
   */
  void SumColumnsInto(double dt, const GeocentricPoint& point,
                      std::vector<Quad>& columns) const;

  /**
   * Combines the columns of a point with the multiples of a longitude: what
   * SumPoint gives at that longitude, to rounding.
   *
   * @param[in] columns from SumColumnsInto.
   * @param[in,out] totals as for SumPoint.
   */
  void CombineColumns(const std::vector<Quad>& columns,
                      LongitudeTotals& totals) const;

  /**
   * The east component exactly at a pole, where the east sums vanish: from
   * the order-1 functions divided by sin(colatitude).
   *
   * @param[in] dt years since the epoch; for the rate, use gDot and hDot.
   * @param[in] rates false for the field, true for its rate of change.
   * @param[in] point the point's terms; point.ct is +-1.
   * @param[in] slon, clon sine and cosine of the longitude.
   * @return the east component, nT (nT/year for the rate).
   */
  double PolarEast(double dt, bool rates, const GeocentricPoint& point,
                   double slon, double clon) const;

  /**
   * Completes the totals of the orders: (re/r)^2 and, for the east
   * component, 1/st, or exactly at a pole PolarEast.
   *
   * @param[in] totals the orders' sums combined with the longitude.
   * @param[in] dt, rates, point, slon, clon as for PolarEast.
   * @return the field (or its rate) in the geocentric spherical frame.
   */
  SphericalField Finish(const SphericalField& totals, double dt, bool rates,
                        const GeocentricPoint& point, double slon,
                        double clon) const;

 private:
  // One degree n of two orders m and m + 1 side by side, lane 0 and lane 1:
  // their Schmidt-folded coefficients, recursion constants, and whether the
  // step recurs (1) or keeps the functions as they stand (0), as it does on
  // an order's diagonal and, with zero coefficients, before it.
  struct TermPair {
    double g[2], h[2], gDot[2], hDot[2], k[2], recurs[2];
  };

  // What the wide summation carries from one quad of orders to the next:
  // Pt(m, m) and (aor st)^(m - 1), 0 for m = 0, by lane.
  struct Diagonals {
    Quad pd;
    Quad below;
  };

  // Where term (n, m) is in terms_.
  std::size_t Place(int n, int m) const;

  // Lays out quads_ from terms_.
  void LayOutQuads();

  // Sums the columns of the orders m0 to m0 + 3 four at a time, from the
  // quads at `quad` on, into columns; advances the diagonals by four orders.
  // Only where WideSupported().
  // @return the quads of the next four orders.
  const Quad* SumQuad(bool rates, const Quad* quad, int m0, double dt,
                      const GeocentricPoint& point, Diagonals& diagonals,
                      Column columns[4]) const;

  // SumPoint and CombineColumns four orders at a time.  Only where
  // WideSupported().
  void SumPointWide(double dt, const GeocentricPoint& point,
                    LongitudeTotals& totals) const;
  void CombineColumnsWide(const std::vector<Quad>& columns,
                          LongitudeTotals& totals) const;

  int degree_;
  int secularDegree_;        // highest degree with non-zero gdot or hdot
  std::vector<Term> terms_;  // order 0 (n = 1..N), then order 1 (n = 1..N)...
  // Two orders at a time: orders 0 and 1 from degree 1, then orders 2 and 3
  // from degree 2, ..., each pair to degree N; an order N + 1 is all zero.
  std::vector<TermPair> pairs_;
  // Four orders at a time: orders 0 to 3 from degree 1, then 4 to 7 from
  // degree 4, ..., each to degree N, as g, h and k of each degree and, up
  // to secularDegree_, gDot and hDot; orders above N are all zero.  Empty
  // where the pairs are used.
  std::vector<Quad> quads_;
};

/**
 * \brief The orders' sums combined with the multiples of one longitude, as
 *   the columns come.
 */
class LongitudeTotals {
 public:
  /**
   * @param[in] longitude radians, east positive.
   * @param[in] rates whether to combine the rates' sums too.
   */
  LongitudeTotals(double longitude, bool rates)
      : slon(sin(longitude)), clon(cos(longitude)), rates_(rates) {}

  /**
   * Adds the next order's sums; the multiples of the longitude come by
   * angle addition.
   *
   * @param[in] m the order, 0 first and then one more each call.
   * @param[in] column its sums.
   */
  void Add(int m, const AnyDegreeSums::Column& column) {
    if (m > 0) {
      const double next = slon * cp_ + clon * sp_;
      cp_ = clon * cp_ - slon * sp_;
      sp_ = next;
    }
    Add(m, column.field, field);
    if (rates_) Add(m, column.rates, rates);
  }

  /// @return whether the rates' sums are combined too.
  bool withRates() const { return rates_; }

  const double slon;     ///< sine of the longitude
  const double clon;     ///< cosine of the longitude
  SphericalField field;  ///< totals of the field's sums
  SphericalField rates;  ///< totals of the rates' sums

 private:
  void Add(int m, const AnyDegreeSums::OrderSums& s, SphericalField& t) {
    t.br += cp_ * s.radial + sp_ * s.radialH;
    t.bt -= cp_ * s.south + sp_ * s.southH;
    t.bp += m * (sp_ * s.east - cp_ * s.eastH);
  }

  bool rates_;
  double sp_ = 0.0;  // sin(m lon)
  double cp_ = 1.0;  // cos(m lon)
};

template <bool kRates, class Sink>
void AnyDegreeSums::SumColumns(double dt, const GeocentricPoint& point,
                               Sink&& sink) const {
  if (!quads_.empty()) {
    // Pt(m, m) = (aor st)^m and (aor st)^(m - 1) of orders 0 to 3.
    const double ast = point.aor * point.st;
    Diagonals diagonals{{{1.0, ast, ast * ast, ast * ast * ast}},
                        {{0.0, 1.0, ast, ast * ast}}};
    Column columns[4];
    const Quad* quad = quads_.data();
    for (int m0 = 0; m0 <= degree_; m0 += 4) {
      quad = SumQuad(kRates, quad, m0, dt, point, diagonals, columns);
      for (int lane = 0; lane < 4 && m0 + lane <= degree_; ++lane)
        sink(m0 + lane, static_cast<const Column&>(columns[lane]));
    }
    return;
  }
  using P = DoublePair;
  const double aor2 = point.aor * point.aor;
  const double act = point.aor * point.ct;
  const double ast = point.aor * point.st;
  const P aor2s = P::Both(aor2), acts = P::Both(act), asts = P::Both(ast);
  const P one = P::Both(1.0), dts = P::Both(dt);
  double pmm = 1.0;   // Pt(m, m)
  double dpmm = 0.0;  // dPt(m, m)
  const TermPair* term = pairs_.data();
  // Two orders at a time, each in its lane: every step takes the same
  // operations in the same order as the one order's recursion would.
  for (int m = 0; m <= degree_; m += 2) {
    const double pnext = ast * pmm;  // the diagonal of order m + 1
    const double dpnext = ast * dpmm + act * pmm;
    P p1(pmm, pnext), dp1(dpmm, dpnext);
    P p2 = P::Both(0.0), dp2 = P::Both(0.0);
    P east = p2, eastH = p2, south = p2, southH = p2, radial = p2, radialH = p2;
    P rEast = p2, rEastH = p2, rSouth = p2, rSouthH = p2, rRadial = p2,
      rRadialH = p2;
    P fn = P::Both(m == 0 ? 2.0 : m + 1.0);  // n + 1
    // The step's sums, from the functions of degree n in p and dp.
    const auto add = [&](const TermPair& t, int n, P p, P dp) {
      const bool secular = n <= secularDegree_;
      const P g = P::Load(t.g), h = P::Load(t.h);
      const P gDot = P::Load(t.gDot), hDot = P::Load(t.hDot);
      const P tg = secular ? gDot * dts + g : g;
      const P th = secular ? hDot * dts + h : h;
      east += tg * p;
      eastH += th * p;
      south += tg * dp;
      southH += th * dp;
      radial += fn * (tg * p);
      radialH += fn * (th * p);
      if (kRates && secular) {
        rEast += gDot * p;
        rEastH += hDot * p;
        rSouth += gDot * dp;
        rSouthH += hDot * dp;
        rRadial += fn * (gDot * p);
        rRadialH += fn * (hDot * p);
      }
      fn += one;
    };
    // The first steps, where a lane may keep its functions: a diagonal, or
    // lane 1 before its order starts.  From degree m + 2 (2 for orders 0
    // and 1) both lanes recur.
    int n = m == 0 ? 1 : m;
    for (const int regular = m + 2; n <= degree_ && n < regular; ++n, ++term) {
      const P recurs = P::Load(term->recurs);
      const P kn = aor2s * P::Load(term->k);
      const P c = recurs * acts + (one - recurs);
      const P p = c * p1 - kn * p2;
      const P dp = c * dp1 - ((recurs * asts) * p1 + kn * dp2);
      p2 = p1;
      dp2 = dp1;
      p1 = p;
      dp1 = dp;
      add(*term, n, p, dp);
    }
    for (; n <= degree_; ++n, ++term) {
      const P kn = aor2s * P::Load(term->k);
      const P p = acts * p1 - kn * p2;
      const P dp = acts * dp1 - (asts * p1 + kn * dp2);
      p2 = p1;
      dp2 = dp1;
      p1 = p;
      dp1 = dp;
      add(*term, n, p, dp);
    }
    Column columns[2];
    const auto put = [&columns](P value, double OrderSums::*sum,
                                OrderSums Column::*part) {
      (columns[0].*part).*sum = value.first();
      (columns[1].*part).*sum = value.second();
    };
    put(east, &OrderSums::east, &Column::field);
    put(eastH, &OrderSums::eastH, &Column::field);
    put(south, &OrderSums::south, &Column::field);
    put(southH, &OrderSums::southH, &Column::field);
    put(radial, &OrderSums::radial, &Column::field);
    put(radialH, &OrderSums::radialH, &Column::field);
    if (kRates) {
      put(rEast, &OrderSums::east, &Column::rates);
      put(rEastH, &OrderSums::eastH, &Column::rates);
      put(rSouth, &OrderSums::south, &Column::rates);
      put(rSouthH, &OrderSums::southH, &Column::rates);
      put(rRadial, &OrderSums::radial, &Column::rates);
      put(rRadialH, &OrderSums::radialH, &Column::rates);
    }
    sink(m, static_cast<const Column&>(columns[0]));
    if (m + 1 <= degree_) sink(m + 1, static_cast<const Column&>(columns[1]));
    pmm = ast * pnext;
    dpmm = ast * dpnext + act * pnext;
  }
}

}  // namespace norvane
