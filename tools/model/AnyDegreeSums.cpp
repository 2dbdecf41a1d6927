#include "tools/model/AnyDegreeSums.hpp"

#include "tools/model/CoefficientFile.hpp"
#include "model/SchmidtFactors.hpp"

namespace norvane {

AnyDegreeSums::AnyDegreeSums(const Coefficients& model, bool wide)
    : degree_(model.degree), secularDegree_(0) {
  const int n1 = degree_;
  terms_.resize(static_cast<std::size_t>(n1 * (n1 + 3) / 2));
  ForEachSchmidtFactor(degree_, [&](int n, int m, double schmidt) {
    const CoefficientRow& row = model.rows[CoefficientIndex(n, m)];
    terms_[Place(n, m)] = {schmidt * row.g, schmidt * row.h, schmidt * row.gDot,
                           schmidt * row.hDot, RecursionConstant(n, m)};
    if (row.gDot != 0.0 || row.hDot != 0.0) secularDegree_ = n;
  });
  if (wide && WideSupported()) {
    LayOutQuads();
    return;
  }
  // The pairs of orders, from the terms: lane 1's order starts a degree
  // after lane 0's, but for orders 0 and 1, which both start at degree 1.
  for (int m = 0; m <= n1; m += 2) {
    for (int n = m == 0 ? 1 : m; n <= n1; ++n) {
      TermPair pair{};
      for (int lane = 0; lane < 2; ++lane) {
        const int order = m + lane;
        if (order > n1 || n < order) continue;
        const Term& t = terms_[Place(n, order)];
        pair.g[lane] = t.g;
        pair.h[lane] = t.h;
        pair.gDot[lane] = t.gDot;
        pair.hDot[lane] = t.hDot;
        // Order 0 recurs from degree 1; any other order keeps its diagonal.
        if (n > order || order == 0) {
          pair.k[lane] = t.k;
          pair.recurs[lane] = 1.0;
        }
      }
      pairs_.push_back(pair);
    }
  }
}

void AnyDegreeSums::SumPoint(double dt, const GeocentricPoint& point,
                             LongitudeTotals& totals) const {
  if (!quads_.empty()) {
    SumPointWide(dt, point, totals);
    return;
  }
  const auto add = [&totals](int m, const Column& column) {
    totals.Add(m, column);
  };
  if (totals.withRates()) {
    SumColumns<true>(dt, point, add);
  } else {
    SumColumns<false>(dt, point, add);
  }
}

namespace {

// The sums of one part of an order's column, in OrderSums' order.
constexpr double AnyDegreeSums::OrderSums::*kSums[] = {
    &AnyDegreeSums::OrderSums::east,   &AnyDegreeSums::OrderSums::eastH,
    &AnyDegreeSums::OrderSums::south,  &AnyDegreeSums::OrderSums::southH,
    &AnyDegreeSums::OrderSums::radial, &AnyDegreeSums::OrderSums::radialH};

// The field's and the rates' parts of a column.
constexpr AnyDegreeSums::OrderSums AnyDegreeSums::Column::*kParts[] = {
    &AnyDegreeSums::Column::field, &AnyDegreeSums::Column::rates};

}  // namespace

void AnyDegreeSums::SumColumnsInto(double dt, const GeocentricPoint& point,
                                   std::vector<Quad>& columns) const {
  columns.assign(static_cast<std::size_t>(degree_ / 4 + 1) * 12, Quad{});
  SumColumns<true>(dt, point, [&columns](int m, const Column& column) {
    Quad* block = &columns[static_cast<std::size_t>(m / 4) * 12];
    for (const auto part : kParts) {
      for (const auto sum : kSums) (block++)->lane[m % 4] = column.*part.*sum;
    }
  });
}

void AnyDegreeSums::CombineColumns(const std::vector<Quad>& columns,
                                   LongitudeTotals& totals) const {
  if (!quads_.empty()) {
    CombineColumnsWide(columns, totals);
    return;
  }
  for (int m = 0; m <= degree_; ++m) {
    const Quad* block = &columns[static_cast<std::size_t>(m / 4) * 12];
    Column column;
    for (const auto part : kParts) {
      for (const auto sum : kSums) column.*part.*sum = (block++)->lane[m % 4];
    }
    totals.Add(m, column);
  }
}

std::size_t AnyDegreeSums::Place(int n, int m) const {
  // Column m starts after the N terms of column 0 and the N - j + 1 of each
  // column 1 <= j < m.
  return static_cast<std::size_t>(
      m == 0 ? n - 1 : degree_ + (m - 1) * (2 * degree_ + 2 - m) / 2 + (n - m));
}

void AnyDegreeSums::LayOutQuads() {
  for (int m0 = 0; m0 <= degree_; m0 += 4) {
    for (int n = m0 == 0 ? 1 : m0; n <= degree_; ++n) {
      Quad g{}, h{}, gDot{}, hDot{}, k{};
      for (int lane = 0; lane < 4; ++lane) {
        const int m = m0 + lane;
        if (m > n) continue;
        const Term& t = terms_[Place(n, m)];
        g.lane[lane] = t.g;
        h.lane[lane] = t.h;
        gDot.lane[lane] = t.gDot;
        hDot.lane[lane] = t.hDot;
        // On its diagonal an order starts afresh; order 0 recurs from
        // degree 0.
        if (n > m || m == 0) k.lane[lane] = t.k;
      }
      quads_.insert(quads_.end(), {g, h, k});
      if (n <= secularDegree_) quads_.insert(quads_.end(), {gDot, hDot});
    }
  }
}

double AnyDegreeSums::PolarEast(double dt, bool rates,
                                const GeocentricPoint& point, double slon,
                                double clon) const {
  const Term* column1 = terms_.data() + degree_;  // (1, 1), (2, 1), ...
  double bpp = 0.0;
  double pp2 = 0.0;
  double pp1 = 1.0;
  double ar = point.aor * point.aor;
  for (int n = 1; n <= degree_; ++n) {
    ar *= point.aor;
    const Term& t = column1[n - 1];
    const double pp = n == 1 ? pp1 : point.ct * pp1 - t.k * pp2;
    pp2 = pp1;
    pp1 = pp;
    const double tg = rates ? t.gDot : t.gDot * dt + t.g;
    const double th = rates ? t.hDot : t.hDot * dt + t.h;
    bpp += (tg * slon - th * clon) * (ar * pp);
  }
  return bpp;
}

SphericalField AnyDegreeSums::Finish(const SphericalField& totals, double dt,
                                     bool rates, const GeocentricPoint& point,
                                     double slon, double clon) const {
  const double aor2 = point.aor * point.aor;
  SphericalField b;
  b.br = aor2 * totals.br;
  b.bt = aor2 * totals.bt;
  // Only exactly at a pole, where dividing by st is impossible.
  b.bp = point.st == 0.0 ? PolarEast(dt, rates, point, slon, clon)
                         : aor2 * totals.bp / point.st;
  return b;
}

}  // namespace norvane
