// The any-degree column sums four orders at a time, in AVX2 registers with
// fused multiply-add: the high degrees' summation, where nearly all of a
// point's time goes.
//
// Orders m0 to m0 + 3 run down their columns together, one lane each, from
// the coefficients as AnyDegreeSums::LayOutQuads lays them out: per degree,
// g, h and the recursion constants k of the four orders, then gDot and hDot
// up to the highest secular degree.  The recursions take no division and no
// square root; the Legendre functions stay in registers.  An order starts
// at its diagonal, Pt(m, m) = (aor st)^m and dPt(m, m) = m aor ct
// (aor st)^(m - 1): until then its lane holds zeros, and the step of degree
// m adds the diagonal values to what the recursion gives (0).  So the
// results are the two-order path's, to rounding.

#include "tools/model/AnyDegreeSums.hpp"

#include <algorithm>

#include "model/WideOrderSums.hpp"

namespace norvane {

#if NORVANE_WIDE_ORDER_SUMS

#define NORVANE_WIDE __attribute__((target("avx2,fma")))

namespace {

// The point's terms, in every lane.
struct Terms {
  __m256d act;   // aor cos(colatitude)
  __m256d ast;   // aor sin(colatitude)
  __m256d aor2;  // aor^2
  __m256d dt;    // years since the epoch
};

// Degrees n - 1 and n - 2 of the four columns' Legendre functions, and
// n + 1 for the next degree n.
struct Recursion {
  __m256d p1, p2, dp1, dp2, fn;
};

// Sums over the degrees so far of tg Pt, th Pt, tg dPt, th dPt, (n + 1) tg
// Pt and (n + 1) th Pt, with tg, th the coefficients or their rates.  The
// weights n + 1 go in term by term: the running totals that the record's
// wide sums weight instead would lose digits in proportion to the square of
// the degree.
struct Sums {
  __m256d eg, eh, sg, sh, rg, rh;
};

// Adds one degree's terms to the sums: tg, th the coefficients, p, dp the
// functions and pn (n + 1) p.
NORVANE_WIDE __attribute__((always_inline)) inline void Add(
    Sums& s, __m256d tg, __m256d th, __m256d p, __m256d dp, __m256d pn) {
  s.eg = _mm256_fmadd_pd(tg, p, s.eg);
  s.eh = _mm256_fmadd_pd(th, p, s.eh);
  s.sg = _mm256_fmadd_pd(tg, dp, s.sg);
  s.sh = _mm256_fmadd_pd(th, dp, s.sh);
  s.rg = _mm256_fmadd_pd(tg, pn, s.rg);
  s.rh = _mm256_fmadd_pd(th, pn, s.rh);
}

// One degree of the four columns: the functions of degree n, and their
// terms added to the sums.  injectP and injectDp hold the diagonal values
// of the order that starts at this degree, zero elsewhere.
// @return the quads of the next degree.
template <bool kSecular, bool kRates, class Quad>
NORVANE_WIDE __attribute__((always_inline)) inline const Quad* Step(
    const Quad* q, const Terms& t, __m256d injectP, __m256d injectDp,
    Recursion& r, Sums& field, Sums& rates) {
  const __m256d kn = _mm256_mul_pd(t.aor2, _mm256_load_pd(q[2].lane));
  const __m256d p =
      _mm256_fmsub_pd(t.act, r.p1, _mm256_fmsub_pd(kn, r.p2, injectP));
  const __m256d dp = _mm256_fmsub_pd(
      t.act, r.dp1,
      _mm256_fmadd_pd(kn, r.dp2, _mm256_fmsub_pd(t.ast, r.p1, injectDp)));
  const __m256d pn = _mm256_mul_pd(r.fn, p);
  r.p2 = r.p1;
  r.dp2 = r.dp1;
  r.p1 = p;
  r.dp1 = dp;
  r.fn = _mm256_add_pd(r.fn, _mm256_set1_pd(1.0));
  __m256d tg = _mm256_load_pd(q[0].lane);
  __m256d th = _mm256_load_pd(q[1].lane);
  if (kSecular) {
    const __m256d gDot = _mm256_load_pd(q[3].lane);
    const __m256d hDot = _mm256_load_pd(q[4].lane);
    tg = _mm256_fmadd_pd(gDot, t.dt, tg);
    th = _mm256_fmadd_pd(hDot, t.dt, th);
    if (kRates) Add(rates, gDot, hDot, p, dp, pn);
  }
  Add(field, tg, th, p, dp, pn);
  return q + (kSecular ? 5 : 3);
}

// Stores the sums of the four columns.
template <class Column, class Part>
NORVANE_WIDE void Store(const Sums& s, Part Column::*part, Column* columns) {
  alignas(32) double east[4], eastH[4], south[4], southH[4], radial[4],
      radialH[4];
  _mm256_store_pd(east, s.eg);
  _mm256_store_pd(eastH, s.eh);
  _mm256_store_pd(south, s.sg);
  _mm256_store_pd(southH, s.sh);
  _mm256_store_pd(radial, s.rg);
  _mm256_store_pd(radialH, s.rh);
  for (int lane = 0; lane < 4; ++lane) {
    columns[lane].*part = {east[lane],   eastH[lane],  south[lane],
                           southH[lane], radial[lane], radialH[lane]};
  }
}

// The sums down the columns of the orders m0 to m0 + 3 into fieldSums and,
// with kRates, rateSums; `diagonals` and `belowDiagonals` hold (aor st)^m
// and (aor st)^(m - 1) (0 for m = 0) by lane and move on by four orders.
// @return the quads of the next four orders.
template <bool kRates, class Quad>
NORVANE_WIDE __attribute__((noinline)) const Quad* SumFour(
    const Quad* q, int m0, int degree, int secularDegree, const Terms& terms,
    __m256d& diagonals, __m256d& belowDiagonals, Sums& fieldSums,
    Sums& rateSums) {
  // Local copies, which stay in registers: the compiler cannot tell the
  // references from the quads.
  const Terms t = terms;
  const __m256d diagonal = diagonals;
  const __m256d zero = _mm256_setzero_pd();
  const __m256d orders = _mm256_setr_pd(m0, m0 + 1.0, m0 + 2.0, m0 + 3.0);
  const __m256d dDiagonal =
      _mm256_mul_pd(_mm256_mul_pd(t.act, orders), belowDiagonals);
  // Order 0 starts from Pt(0, 0) = 1 at degree 0, which adds nothing.
  const int first = m0 == 0 ? 1 : m0;
  Recursion r{m0 == 0 ? _mm256_setr_pd(1.0, 0.0, 0.0, 0.0) : zero, zero, zero,
              zero, _mm256_set1_pd(first + 1.0)};
  Sums field{zero, zero, zero, zero, zero, zero};
  Sums rates = field;
  const int lastSecular = std::min(secularDegree, degree);
  int n = first;
  for (; n <= degree && n - m0 < 4; ++n) {
    const __m256d lane = wide::LaneMask(n - m0);
    const __m256d injectP = _mm256_and_pd(diagonal, lane);
    const __m256d injectDp = _mm256_and_pd(dDiagonal, lane);
    q = n <= lastSecular
            ? Step<true, kRates>(q, t, injectP, injectDp, r, field, rates)
            : Step<false, kRates>(q, t, injectP, injectDp, r, field, rates);
  }
  for (; n <= lastSecular; ++n)
    q = Step<true, kRates>(q, t, zero, zero, r, field, rates);
  for (; n <= degree; ++n)
    q = Step<false, kRates>(q, t, zero, zero, r, field, rates);
  fieldSums = field;
  rateSums = rates;
  // The next four orders' diagonals: (aor st)^(m + 4) and (aor st)^(m + 3).
  const double ast = _mm256_cvtsd_f64(t.ast);
  const double ast2 = ast * ast;
  belowDiagonals = _mm256_mul_pd(diagonal, _mm256_set1_pd(ast2 * ast));
  diagonals = _mm256_mul_pd(diagonal, _mm256_set1_pd(ast2 * ast2));
  return q;
}

// The point's terms, in every lane.
NORVANE_WIDE Terms PointTerms(double dt, const GeocentricPoint& point) {
  return {_mm256_set1_pd(point.aor * point.ct),
          _mm256_set1_pd(point.aor * point.st),
          _mm256_set1_pd(point.aor * point.aor), _mm256_set1_pd(dt)};
}

// SumFour into four columns, for SumColumns.
template <bool kRates, class Quad, class Column>
NORVANE_WIDE const Quad* SumColumnsOfFour(const Quad* q, int m0, int degree,
                                          int secularDegree, double dt,
                                          const GeocentricPoint& point,
                                          Quad& pd, Quad& below,
                                          Column* columns) {
  __m256d diagonal = _mm256_load_pd(pd.lane);
  __m256d diagonalBelow = _mm256_load_pd(below.lane);
  Sums field, rates;
  q = SumFour<kRates>(q, m0, degree, secularDegree, PointTerms(dt, point),
                      diagonal, diagonalBelow, field, rates);
  _mm256_store_pd(pd.lane, diagonal);
  _mm256_store_pd(below.lane, diagonalBelow);
  Store(field, &Column::field, columns);
  if (kRates) {
    Store(rates, &Column::rates, columns);
  } else {
    for (int lane = 0; lane < 4; ++lane) columns[lane].rates = {};
  }
  return q;
}

// Totals over the orders so far, one lane per order modulo 4, as
// LongitudeTotals adds them up.
struct Totals {
  __m256d radial, south, east;
};

// The totals of the four lanes, as LongitudeTotals gives them.
NORVANE_WIDE SphericalField Sum(const Totals& t) {
  return {wide::LaneSum(t.radial), -wide::LaneSum(t.south),
          wide::LaneSum(t.east)};
}

// The multiples of the longitude and the orders of four orders: 0 to 3 at
// first, then four on at a time by angle addition.
struct LongitudeMultiples {
  __m256d cp, sp;  // cos and sin of m x longitude
  __m256d fm;      // m
  __m256d c4, s4;  // cos and sin of 4 x longitude

  NORVANE_WIDE LongitudeMultiples(double slon, double clon) {
    const double c2 = clon * clon - slon * slon;
    const double s2 = slon * clon + clon * slon;
    c4 = _mm256_set1_pd(c2 * c2 - s2 * s2);
    s4 = _mm256_set1_pd(s2 * c2 + c2 * s2);
    cp = _mm256_setr_pd(1.0, clon, c2, clon * c2 - slon * s2);
    sp = _mm256_setr_pd(0.0, slon, s2, slon * c2 + clon * s2);
    fm = _mm256_setr_pd(0.0, 1.0, 2.0, 3.0);
  }

  // Adds the four orders' sums.
  NORVANE_WIDE void Combine(const Sums& s, Totals& t) const {
    t.radial = _mm256_fmadd_pd(cp, s.rg, _mm256_fmadd_pd(sp, s.rh, t.radial));
    t.south = _mm256_fmadd_pd(cp, s.sg, _mm256_fmadd_pd(sp, s.sh, t.south));
    t.east = _mm256_fmadd_pd(
        fm, _mm256_fmsub_pd(sp, s.eg, _mm256_mul_pd(cp, s.eh)), t.east);
  }

  NORVANE_WIDE void Next() {
    const __m256d next = _mm256_fmsub_pd(cp, c4, _mm256_mul_pd(sp, s4));
    sp = _mm256_fmadd_pd(sp, c4, _mm256_mul_pd(cp, s4));
    cp = next;
    fm = _mm256_add_pd(fm, _mm256_set1_pd(4.0));
  }
};

// All the orders combined with the multiples of the longitude as they come,
// in registers, for SumPoint: LongitudeTotals' totals.
template <bool kRates, class Quad>
NORVANE_WIDE void SumAllOrders(const Quad* q, int degree, int secularDegree,
                               double dt, const GeocentricPoint& point,
                               double slon, double clon, SphericalField& field,
                               SphericalField& rates) {
  const Terms t = PointTerms(dt, point);
  const double ast = point.aor * point.st;
  __m256d diagonal = _mm256_setr_pd(1.0, ast, ast * ast, ast * ast * ast);
  __m256d below = _mm256_setr_pd(0.0, 1.0, ast, ast * ast);
  LongitudeMultiples multiples(slon, clon);
  const __m256d zero = _mm256_setzero_pd();
  Totals totals{zero, zero, zero};
  Totals rateTotals = totals;
  for (int m0 = 0; m0 <= degree; m0 += 4) {
    Sums f, r;
    q = SumFour<kRates>(q, m0, degree, secularDegree, t, diagonal, below, f, r);
    multiples.Combine(f, totals);
    if (kRates) multiples.Combine(r, rateTotals);
    multiples.Next();
    // Near a pole (aor st)^m underflows: once it is 0 for the next four
    // orders, their functions and all above are 0 and add exactly nothing.
    const __m256d left =
        _mm256_or_pd(_mm256_cmp_pd(diagonal, zero, _CMP_NEQ_UQ),
                     _mm256_cmp_pd(below, zero, _CMP_NEQ_UQ));
    if (_mm256_movemask_pd(left) == 0) break;
  }
  field = Sum(totals);
  rates = kRates ? Sum(rateTotals) : SphericalField{};
}

// The sums of four orders from a block of SumColumnsInto.
template <class Quad>
NORVANE_WIDE Sums LoadSums(const Quad* q) {
  return {_mm256_load_pd(q[0].lane), _mm256_load_pd(q[1].lane),
          _mm256_load_pd(q[2].lane), _mm256_load_pd(q[3].lane),
          _mm256_load_pd(q[4].lane), _mm256_load_pd(q[5].lane)};
}

// SumColumnsInto's columns combined with the multiples of a longitude.
template <bool kRates, class Quad>
NORVANE_WIDE void CombineAll(const Quad* q, int degree, double slon,
                             double clon, SphericalField& field,
                             SphericalField& rates) {
  LongitudeMultiples multiples(slon, clon);
  const __m256d zero = _mm256_setzero_pd();
  Totals totals{zero, zero, zero};
  Totals rateTotals = totals;
  for (int m0 = 0; m0 <= degree; m0 += 4, q += 12) {
    multiples.Combine(LoadSums(q), totals);
    if (kRates) multiples.Combine(LoadSums(q + 6), rateTotals);
    multiples.Next();
  }
  field = Sum(totals);
  rates = kRates ? Sum(rateTotals) : SphericalField{};
}

}  // namespace

bool AnyDegreeSums::WideSupported() { return WideOrderSumsSupported(); }

const AnyDegreeSums::Quad* AnyDegreeSums::SumQuad(bool rates, const Quad* quad,
                                                  int m0, double dt,
                                                  const GeocentricPoint& point,
                                                  Diagonals& diagonals,
                                                  Column columns[4]) const {
  return rates ? SumColumnsOfFour<true>(quad, m0, degree_, secularDegree_, dt,
                                        point, diagonals.pd, diagonals.below,
                                        columns)
               : SumColumnsOfFour<false>(quad, m0, degree_, secularDegree_, dt,
                                         point, diagonals.pd, diagonals.below,
                                         columns);
}

void AnyDegreeSums::SumPointWide(double dt, const GeocentricPoint& point,
                                 LongitudeTotals& totals) const {
  if (totals.withRates()) {
    SumAllOrders<true>(quads_.data(), degree_, secularDegree_, dt, point,
                       totals.slon, totals.clon, totals.field, totals.rates);
  } else {
    SumAllOrders<false>(quads_.data(), degree_, secularDegree_, dt, point,
                        totals.slon, totals.clon, totals.field, totals.rates);
  }
}

void AnyDegreeSums::CombineColumnsWide(const std::vector<Quad>& columns,
                                       LongitudeTotals& totals) const {
  if (totals.withRates()) {
    CombineAll<true>(columns.data(), degree_, totals.slon, totals.clon,
                     totals.field, totals.rates);
  } else {
    CombineAll<false>(columns.data(), degree_, totals.slon, totals.clon,
                      totals.field, totals.rates);
  }
}

#undef NORVANE_WIDE

#else

bool AnyDegreeSums::WideSupported() { return false; }

// Never called: without the wide sums every model takes the pairs.
const AnyDegreeSums::Quad* AnyDegreeSums::SumQuad(bool, const Quad* quad, int,
                                                  double,
                                                  const GeocentricPoint&,
                                                  Diagonals&, Column*) const {
  return quad;
}
void AnyDegreeSums::SumPointWide(double, const GeocentricPoint&,
                                 LongitudeTotals&) const {}
void AnyDegreeSums::CombineColumnsWide(const std::vector<Quad>&,
                                       LongitudeTotals&) const {}

#endif

}  // namespace norvane
