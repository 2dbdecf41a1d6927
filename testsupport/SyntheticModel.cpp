#include "testsupport/SyntheticModel.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

namespace norvane {

Coefficients SyntheticModel(int degree, int secularDegree, double epoch,
                            std::uint64_t seed) {
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  Coefficients model;
  model.name = "synthetic";
  model.releaseDate = "01/01/2000";
  model.epoch = epoch;
  model.degree = degree;
  model.rows.resize(static_cast<std::size_t>(CoefficientIndex(degree, degree)) +
                    1);
  for (int n = 1; n <= degree; ++n) {
    const double size = std::max(3e4 * std::pow(0.5, n - 1), 0.01);
    for (int m = 0; m <= n; ++m) {
      CoefficientRow& row = model.rows[CoefficientIndex(n, m)];
      row.g = size * unit(random);
      row.h = m == 0 ? 0.0 : size * unit(random);
      if (n <= secularDegree) {
        row.gDot = 0.01 * size * unit(random);
        row.hDot = m == 0 ? 0.0 : 0.01 * size * unit(random);
      }
    }
  }
  return model;
}

std::string CoefficientFileText(const Coefficients& model) {
  char line[160];
  std::snprintf(line, sizeof line, "%.17g %s %s\n", model.epoch,
                model.name.c_str(), model.releaseDate.c_str());
  std::string text = line;
  for (int n = 1; n <= model.degree; ++n) {
    for (int m = 0; m <= n; ++m) {
      const CoefficientRow& r = model.rows[CoefficientIndex(n, m)];
      std::snprintf(line, sizeof line, "%d %d %.17g %.17g %.17g %.17g\n", n, m,
                    r.g, r.h, r.gDot, r.hDot);
      text += line;
    }
  }
  return text + std::string(48, '9') + "\n";
}

}  // namespace norvane
