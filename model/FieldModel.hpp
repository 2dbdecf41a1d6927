#pragma once
/**
 * \file FieldModel.hpp
 * \brief The WMM-2005 main geomagnetic field model.
 */

#include <stdint.h>

#include "model/Wmm2005.hpp"

namespace norvane {

/**
 * \brief Spherical-harmonic model of the Earth's main magnetic field.
 *
 * A plain fixed-size record, filled once by FillFieldModel (the constructor
 * fills it from the compiled-in WMM-2005 table) and read-only afterwards.
 * Filling folds the Schmidt quasi-normalisation into the coefficients, so
 * that evaluation runs its Legendre recursions on unnormalised functions and
 * takes no square roots in its loops.  All arrays are indexed [n][m], degree
 * first; only the triangle 1 <= n <= 12, 0 <= m <= n carries values,
 * everything else is zero.
 *
 * Units: lengths km, field values nT, time decimal years, angles radians.
 * The record holds no pointers and allocates nothing; evaluations only read
 * it, so any number of them may run concurrently on one model.
 */
class FieldModel {
 public:
  /// array extent: degrees 0 to 12
  static constexpr int kSize = kWmm2005Degree + 1;

  /**
   * Sets up the WMM-2005 model: degree and order 12, epoch 2005.
   */
  FieldModel();

  /**
   * Evaluates the main field at one point.
   *
   * @param[in] altitude height above the WGS-84 ellipsoid, km; any value.
   * @param[in] latitude geodetic latitude, radians, north positive,
   *   -pi/2 to pi/2.
   * @param[in] longitude longitude, radians, east positive; any value.
   * @param[in] year decimal year; extrapolated linearly from the epoch
   *   without a range check.
   * @param[out] X north component, nT.
   * @param[out] Y east component, nT.
   * @param[out] Z vertical component, nT, positive downward.
   * @param[out] F total intensity, nT.
   * @param[out] H horizontal intensity, nT.
   * @param[out] D declination, radians, positive east of true north,
   *   -pi to pi.
   * @param[out] I inclination, radians, positive below the horizontal,
   *   -pi/2 to pi/2.
   *
   * Exactly at a pole (where sin of the colatitude is 0) the east component
   * comes from a separate recursion, so the results stay finite there.  Only
   * the body's centre gives non-finite results for finite inputs; non-finite
   * inputs give non-finite results.  Nothing is validated or reported.
   */
  void Evaluate(double altitude, double latitude, double longitude, double year,
                double& X, double& Y, double& Z, double& F, double& H,
                double& D, double& I) const;

  int32_t maxDegree;          ///< highest degree and order: 12
  int32_t epoch;              ///< year the coefficients refer to: 2005
  double g[kSize][kSize];     ///< g(n,m) x S(n,m), nT
  double gDot[kSize][kSize];  ///< gdot(n,m) x S(n,m), nT/year
  double h[kSize][kSize];     ///< h(n,m) x S(n,m), nT
  double hDot[kSize][kSize];  ///< hdot(n,m) x S(n,m), nT/year
  double fn[kSize];           ///< n + 1, for n >= 1
  double fm[kSize];           ///< m
  double k[kSize][kSize];     ///< ((n-1)^2 - m^2) / ((2n-1)(2n-3))
};

/**
 * Fills a record from Schmidt quasi-normalised coefficients: the compiled-in
 * table's, or a coefficient file's of degree 12 or lower.
 *
 * @param[in] degree highest degree and order of the coefficients, 1 to 12.
 * @param[in] rows the terms (0, 0) to (degree, degree), at CoefficientIndex.
 * @param[out] model maxDegree becomes degree; g, h, gDot and hDot the rows'
 *   coefficients times the Schmidt factors S(n, m) within the triangle
 *   1 <= n <= degree, 0 <= m <= n, and zero elsewhere; fn, fm and k their
 *   constants for every degree of the arrays.  The epoch is left as it is.
 */
void FillFieldModel(int degree, const CoefficientRow* rows, FieldModel& model);

}  // namespace norvane
