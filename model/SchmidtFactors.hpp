#pragma once
/**
 * \file SchmidtFactors.hpp
 * \brief The factors that turn Schmidt quasi-normalised coefficients into
 *   coefficients of the unnormalised Legendre functions that the
 *   evaluation's recursions produce.
 */

#include <math.h>

namespace norvane {

/**
 * Calls visit(n, m, S(n, m)) for every term 1 <= n <= maxDegree,
 * 0 <= m <= n, degree by degree and within a degree order by order.
 *
 * S(n, 0) follows from S(n - 1, 0), then S(n, m) from S(n, m - 1) along the
 * order; the square roots are taken here, once per model, so that the
 * evaluation takes none.
 *
 * @param[in] maxDegree highest degree, >= 1.
 * @param[in] visit called as visit(int n, int m, double schmidt).
 */
template <class Visit>
void ForEachSchmidtFactor(int maxDegree, Visit&& visit) {
  double schmidtN0 = 1.0;
  for (int n = 1; n <= maxDegree; ++n) {
    schmidtN0 = (2 * n - 1) * schmidtN0 / n;
    double schmidt = schmidtN0;
    int j = 2;
    for (int m = 0; m <= n; ++m) {
      if (m > 0) {
        schmidt *= sqrt(static_cast<double>((n - m + 1) * j) /
                        static_cast<double>(n + m));
        j = 1;
      }
      visit(n, m, schmidt);
    }
  }
}

/**
 * Recursion constant of the unnormalised Legendre functions along a column:
 * P(n, m) = cos(theta) P(n - 1, m) - k(n, m) P(n - 2, m).
 *
 * @param[in] n degree, >= 1.
 * @param[in] m order, 0 to n.
 * @return ((n - 1)^2 - m^2) / ((2n - 1)(2n - 3)).
 */
inline double RecursionConstant(int n, int m) {
  return static_cast<double>((n - 1) * (n - 1) - m * m) /
         static_cast<double>((2 * n - 1) * (2 * n - 3));
}

}  // namespace norvane
