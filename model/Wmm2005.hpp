#pragma once
/**
 * \file Wmm2005.hpp
 * \brief The compiled-in WMM-2005 Gauss coefficient table.
 */

namespace norvane {

/// One (n, m) term of the expansion, Schmidt quasi-normalised.
struct CoefficientRow {
  double g;     ///< main-field coefficient g(n, m), nT
  double h;     ///< main-field coefficient h(n, m), nT; 0 for m = 0
  double gDot;  ///< secular variation of g(n, m), nT/year
  double hDot;  ///< secular variation of h(n, m), nT/year; 0 for m = 0
};

/// Highest degree and order of the table.
constexpr int kWmm2005Degree = 12;

/// Number of rows: (0, 0) to (12, 12).
constexpr int kWmm2005Rows = (kWmm2005Degree + 1) * (kWmm2005Degree + 2) / 2;

/// Epoch of the coefficients, a whole year.
constexpr int kWmm2005Epoch = 2005;

/// Highest degree with secular variation: gDot and hDot are 0 in every row of
/// a higher degree (checked against the table where it is defined).
constexpr int kWmm2005SecularDegree = 8;

/// First decimal year the model is valid for.
constexpr double kWmm2005ValidFrom = 2005.0;

/// Last decimal year the model is valid for.
constexpr double kWmm2005ValidUntil = 2010.0;

/**
 * The decimal year the page shows the field of, whatever the simulation's
 * date: the module asks the host for the vessel alone, so the same vessel
 * always gets the same page.  It lies inside the validity, a year after the
 * epoch.  The tools take it as their year for the compiled-in model.
 */
constexpr double kWmm2005PageYear = 2006.0;

/// Lowest height above the WGS-84 ellipsoid the model is valid at, km.
constexpr double kWmm2005LowestAltitude = -1.0;

/// Highest height above the WGS-84 ellipsoid the model is valid at, km.
constexpr double kWmm2005HighestAltitude = 850.0;

/**
 * Row index of term (n, m) in kWmm2005.
 *
 * @param[in] n degree, 0 to 12.
 * @param[in] m order, 0 to n.
 * @return n(n + 1)/2 + m.
 */
constexpr int CoefficientIndex(int n, int m) { return n * (n + 1) / 2 + m; }

/// The table, ordered by degree and then by order; row (0, 0) is all zero.
extern const CoefficientRow kWmm2005[kWmm2005Rows];

}  // namespace norvane
