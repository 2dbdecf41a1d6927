#pragma once
/**
 * \file FieldCircle.hpp
 * \brief A FieldModel record along a circle of latitude: one altitude,
 *   latitude and year, any number of longitudes.
 */

#include "tools/model/FieldElements.hpp"
#include "model/FieldModel.hpp"
#include "model/Geocentric.hpp"
#include "model/PairedOrderSums.hpp"

namespace norvane {

/**
 * \brief The field at many longitudes of one circle of latitude.
 *
 * The constructor works out the Legendre functions and the sums over the
 * degrees once, for the field and for its rate of change; each longitude
 * then costs only its multiples of the longitude and the sums over the
 * orders.  Results agree with FieldModel's to rounding (within 1e-13 of F),
 * not to the last bit.  Units and conventions as FieldModel's.
 */
class FieldCircle {
 public:
  /**
   * @param[in] model the record to evaluate; must outlive the circle.
   * @param[in] altitude height above the WGS-84 ellipsoid, km.
   * @param[in] latitude geodetic latitude, radians, -pi/2 to pi/2.
   * @param[in] dt years since the model's epoch; extrapolated linearly.
   * @param[in] ellipsoid the ellipsoid of the geodetic coordinates.
   */
  FieldCircle(const FieldModel& model, double altitude, double latitude,
              double dt, const Ellipsoid& ellipsoid);

  /**
   * Evaluates the field, and if asked its rate of change, at one longitude.
   *
   * @param[in] longitude radians, east positive; any value.
   * @param[in] rates whether to give the rates too.
   * @return the elements.
   */
  FieldAndRates Evaluate(double longitude, bool rates) const;

 private:
  // The field (sums 0) or its rate (sums 1) at a longitude whose multiples
  // sp, cp are in hand.
  SphericalField Combine(int which, double slon, double clon, const double* sp,
                         const double* cp) const;

  const FieldModel* model_;
  GeocentricPoint point_;
  paired::Columns<true> columns_;
  // At a pole only: the east component of the field (0) and of its rate
  // (1) is polarEast_[i][0] sin(lon) + polarEast_[i][1] cos(lon).
  double polarEast_[2][2];
};

}  // namespace norvane
