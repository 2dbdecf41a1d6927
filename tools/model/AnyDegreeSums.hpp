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
 */

#include <math.h>

#include <vector>

#include "model/Geocentric.hpp"
#include "model/SphericalField.hpp"

namespace norvane {

struct Coefficients;

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

  /**
   * Folds the Schmidt factors into a model's coefficients.
   *
   * @param[in] model the coefficients as the file gives them.
   */
  explicit AnyDegreeSums(const Coefficients& model);

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
  int degree_;
  int secularDegree_;        // highest degree with non-zero gdot or hdot
  std::vector<Term> terms_;  // order 0 (n = 1..N), then order 1 (n = 1..N)...
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
  const double aor2 = point.aor * point.aor;
  const double act = point.aor * point.ct;
  const double ast = point.aor * point.st;
  double pmm = 1.0;   // Pt(m, m)
  double dpmm = 0.0;  // dPt(m, m)
  const Term* term = terms_.data();
  for (int m = 0; m <= degree_; ++m) {
    Column column;
    // Degrees n - 1 and n - 2 of the column, from the diagonal down.
    double p1 = pmm, dp1 = dpmm, p2 = 0.0, dp2 = 0.0;
    for (int n = m == 0 ? 1 : m; n <= degree_; ++n, ++term) {
      double p = p1, dp = dp1;
      if (n > m) {
        const double kn = aor2 * term->k;
        p = act * p1 - kn * p2;
        dp = act * dp1 - (ast * p1 + kn * dp2);
        p2 = p1;
        dp2 = dp1;
        p1 = p;
        dp1 = dp;
      }
      const double fn = n + 1;
      const bool secular = n <= secularDegree_;
      const double tg = secular ? term->gDot * dt + term->g : term->g;
      const double th = secular ? term->hDot * dt + term->h : term->h;
      OrderSums& s = column.field;
      s.east += tg * p;
      s.eastH += th * p;
      s.south += tg * dp;
      s.southH += th * dp;
      s.radial += fn * (tg * p);
      s.radialH += fn * (th * p);
      if (kRates && secular) {
        OrderSums& r = column.rates;
        r.east += term->gDot * p;
        r.eastH += term->hDot * p;
        r.south += term->gDot * dp;
        r.southH += term->hDot * dp;
        r.radial += fn * (term->gDot * p);
        r.radialH += fn * (term->hDot * p);
      }
    }
    sink(m, static_cast<const Column&>(column));
    const double next = ast * pmm;
    dpmm = ast * dpmm + act * pmm;
    pmm = next;
  }
}

}  // namespace norvane
