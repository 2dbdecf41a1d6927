#pragma once
/**
 * \file PortableModel.hpp
 * \brief A second copy of the field model, built without the wide order
 *   sums, to hold the wide path to the portable one.
 */

namespace portable_model {

/**
 * Evaluates the field as FieldModel::Evaluate does, always through the
 * portable order sums.
 *
 * @param[in] altitude km; latitude, longitude radians; year decimal year.
 * @param[out] out X, Y, Z, F, H (nT), D, I (radians), in that order.
 */
void Evaluate(double altitude, double latitude, double longitude, double year,
              double (&out)[7]);

}  // namespace portable_model
