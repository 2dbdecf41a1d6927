#include "tools/chart/MeridianArc.hpp"

#include <cmath>

#include "common/Pi.hpp"
#include "model/Geocentric.hpp"
#include "tools/common/Angles.hpp"

namespace norvane::chart {
namespace {

// The elements from interpolated components.
FieldAndRates Elements(const Components& c) {
  FieldAndRates r{};
  FieldElements& f = r.field;
  f.X = c[0], f.Y = c[1], f.Z = c[2];
  DerivedElements(f.X, f.Y, f.Z, f.F, f.H, f.D, f.I);
  r.rates = RatesOfChange(f, c[3], c[4], c[5]);
  return r;
}

Components ComponentsOf(const FieldAndRates& f) {
  return {f.field.X, f.field.Y, f.field.Z, f.rates.X, f.rates.Y, f.rates.Z};
}

}  // namespace

double ArcNode(int k) {
  static const std::array<double, kArcNodes> nodes = [] {
    std::array<double, kArcNodes> s{};
    for (int j = 0; j < kArcNodes; ++j)
      s[j] = 0.5 * (1.0 - std::cos(kPi * j / (kArcNodes - 1)));
    s[0] = 0.0;
    s[kArcNodes - 1] = 1.0;
    return s;
  }();
  return nodes[k];
}

FieldAndRates MeridianArc::At(double t, bool coarse) const {
  // The barycentric form of the interpolating polynomial; at Chebyshev
  // points of this kind the weights alternate in sign, halved at the ends.
  const int step = coarse ? 2 : 1;
  Components sum{};
  double total = 0.0;
  for (int k = 0, j = 0; k < kArcNodes; k += step, ++j) {
    const double distance = t - ArcNode(k);
    if (distance == 0.0) return Elements(nodes_[k]);
    double w = j % 2 == 0 ? 1.0 : -1.0;
    if (k == 0 || k == kArcNodes - 1) w *= 0.5;
    w /= distance;
    for (std::size_t c = 0; c < sum.size(); ++c) sum[c] += w * nodes_[k][c];
    total += w;
  }
  for (double& c : sum) c /= total;
  return Elements(sum);
}

BandCircles::BandCircles(const FieldSource& source, double latitude0,
                         double latitude1)
    : source_(source),
      latitude0_(latitude0),
      latitude1_(latitude1),
      circles_(kArcNodes) {}

const ModelCircle& BandCircles::Circle(int node) {
  std::optional<ModelCircle>& circle = circles_[node];
  if (!circle) {
    const double latitude =
        node == kArcNodes - 1
            ? latitude1_
            : latitude0_ + ArcNode(node) * (latitude1_ - latitude0_);
    circle.emplace(source_.Circle(latitude));
  }
  return *circle;
}

MeridianArc BandCircles::Arc(double longitude) {
  const bool rates = source_.Request().quantity.rates;
  std::array<Components, kArcNodes> nodes;
  for (int k = 0; k < kArcNodes; ++k) {
    nodes[k] =
        ComponentsOf(Circle(k).Evaluate(tools::Radians(longitude), rates));
  }
  return MeridianArc(nodes);
}

}  // namespace norvane::chart
