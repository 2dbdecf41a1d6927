#pragma once
/**
 * \file FieldElements.hpp
 * \brief The seven elements of the field at a point, and their rates of
 *   change from those of its components.
 */

namespace norvane::tools {

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

}  // namespace norvane::tools
