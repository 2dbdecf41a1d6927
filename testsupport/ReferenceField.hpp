#pragma once
/**
 * \file ReferenceField.hpp
 * \brief GeographicLib's evaluation of our models, in our units.
 */

#include <GeographicLib/MagneticCircle.hpp>
#include <GeographicLib/MagneticModel.hpp>

#include <string>

namespace norvane {

/**
 * \brief An independent evaluation of the compiled-in WMM-2005 table.
 *
 * Loads the model file written at build time from our table and evaluates it
 * with GeographicLib's MagneticModel on an ellipsoid with our a and b, taking
 * and returning values in the field model's own units and frame.
 */
class ReferenceField {
 public:
  /**
   * Loads the model file generated from the compiled-in table.
   *
   * @exception GeographicLib::GeographicErr if the file is missing or corrupt.
   */
  ReferenceField();

  /**
   * Loads a model written by WriteGeographicLibModel, on WGS-84 as defined,
   * as models from coefficient files are.
   *
   * @param[in] name the file name without extension.
   * @param[in] directory where it is.
   * @exception GeographicLib::GeographicErr if the file is missing or corrupt.
   */
  ReferenceField(const std::string& name, const std::string& directory);

  /**
   * Evaluates the field at one point.
   *
   * @param[in] altitude height above the ellipsoid, km.
   * @param[in] latitude geodetic latitude, radians, -pi/2 to pi/2.
   * @param[in] longitude longitude, radians, east positive.
   * @param[in] year decimal year.
   * @param[out] X north component, nT.
   * @param[out] Y east component, nT.
   * @param[out] Z vertical component, nT, positive downward.
   */
  void Evaluate(double altitude, double latitude, double longitude, double year,
                double& X, double& Y, double& Z) const;

  /**
   * Evaluates the field and its rate of change at one point.
   *
   * @param[in] altitude, latitude, longitude, year as for Evaluate.
   * @param[out] X, Y, Z as for Evaluate, nT.
   * @param[out] dX, dY, dZ their rates of change, nT/year.
   */
  void EvaluateWithRates(double altitude, double latitude, double longitude,
                         double year, double& X, double& Y, double& Z,
                         double& dX, double& dY, double& dZ) const;

  /**
   * GeographicLib's own evaluation along a circle of latitude.
   *
   * @param[in] altitude height above the ellipsoid, km.
   * @param[in] latitude geodetic latitude, radians, -pi/2 to pi/2.
   * @param[in] year decimal year.
   * @return the circle; called with a longitude in degrees it gives the
   *   east, north and up components in nT.
   */
  GeographicLib::MagneticCircle Circle(double altitude, double latitude,
                                       double year) const;

 private:
  GeographicLib::MagneticModel model_;
};

}  // namespace norvane
