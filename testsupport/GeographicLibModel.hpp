#pragma once
/**
 * \file GeographicLibModel.hpp
 * \brief Writes a model in GeographicLib's magnetic-model format, so that
 *   its MagneticModel can evaluate our coefficients independently.
 */

#include <string>

#include "tools/model/CoefficientFile.hpp"

namespace norvane {

/**
 * Writes PREFIX.wmm (text metadata) and PREFIX.wmm.cof (little-endian
 * binary coefficients).  GeographicLib takes Schmidt semi-normalised
 * coefficients, as the files hold them, the reference radius in metres, and
 * each coefficient set as N, M (int32), then the cosine terms g(n,m) and the
 * sine terms h(n,m) for m >= 1, both order by order.
 *
 * @param[in] model the coefficients; its name becomes the model's name.
 * @param[in] prefix path without extension.
 * @return whether both files were written.
 */
bool WriteGeographicLibModel(const Coefficients& model,
                             const std::string& prefix);

/// @return the compiled-in WMM-2005 table as coefficients.
Coefficients CompiledInCoefficients();

}  // namespace norvane
