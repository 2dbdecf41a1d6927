#pragma once
/**
 * \file FieldElements.hpp
 * \brief The seven elements of the field at a point and their rates of
 *   change, as the command-line tools take them from any model.
 */

#include <cmath>

#include "model/Geocentric.hpp"
#include "model/SphericalField.hpp"

namespace norvane {

/**
 * The field at one point, as FieldModel::Evaluate returns it, or its rate
 * of change: then every unit is per year.
 */
struct FieldElements {
  double X;  ///< north component, nT
  double Y;  ///< east component, nT
  double Z;  ///< vertical component, nT, positive downward
  double F;  ///< total intensity, nT
  double H;  ///< horizontal intensity, nT
  double D;  ///< declination, radians, positive east of true north
  double I;  ///< inclination, radians, positive below the horizontal
};

/// @return whether all seven elements are finite numbers.
inline bool AllFinite(const FieldElements& e) {
  return std::isfinite(e.X) && std::isfinite(e.Y) && std::isfinite(e.Z) &&
         std::isfinite(e.F) && std::isfinite(e.H) && std::isfinite(e.D) &&
         std::isfinite(e.I);
}

/// The field at one point and, when asked for, its rate of change.
struct FieldAndRates {
  FieldElements field;  ///< the field
  FieldElements rates;  ///< its rate of change, per year; 0 if not asked for
};

/**
 * The rates of change of all seven elements.
 *
 * dH = (X dX + Y dY) / H, dF = (H dH + Z dZ) / F, dD = (X dY - Y dX) / H^2
 * and dI = (H dZ - Z dH) / F^2: exact derivatives, not differences.
 *
 * @param[in] field the field at the point.
 * @param[in] dX, dY, dZ rates of change of X, Y and Z, nT/year.
 * @return dX, dY, dZ, dF, dH in nT/year and dD, dI in radians/year; where H
 *   (or F) is 0 those that divide by it are NaN.
 */
FieldElements RatesOfChange(const FieldElements& field, double dX, double dY,
                            double dZ);

/**
 * The elements of a field given in the geocentric spherical frame.
 *
 * @param[in] b the field, its east component no longer times st, nT.
 * @param[in] rates its rate of change, nT/year, or nullptr for none.
 * @param[in] point the point's geocentric terms.
 * @return the elements, with the rates' if `rates` is given.
 */
FieldAndRates ToElements(const SphericalField& b, const SphericalField* rates,
                         const GeocentricPoint& point);

}  // namespace norvane
