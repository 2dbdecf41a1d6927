#pragma once
/**
 * \file SyntheticModel.hpp
 * \brief Made-up models of any degree, shaped like the Earth's field, and
 *   their coefficient files.
 */

#include <cstdint>
#include <string>

#include "tools/model/CoefficientFile.hpp"

namespace norvane {

/**
 * Draws a model from a fixed-seed generator: a dipole of about 30,000 nT
 * and higher terms whose size falls by half a degree at a time down to a
 * floor of 0.01 nT, as the crustal terms of high-resolution models do.
 *
 * @param[in] degree highest degree, 1 to kMaxFileDegree.
 * @param[in] secularDegree highest degree with secular variation.
 * @param[in] epoch decimal year.
 * @param[in] seed one seed always gives the same model.
 * @return the model, named "synthetic".
 */
Coefficients SyntheticModel(int degree, int secularDegree, double epoch,
                            std::uint64_t seed);

/**
 * Writes a model as a coefficient file, every number with 17 significant
 * digits so that it reads back exactly, ending with a line of nines.
 *
 * @param[in] model the model.
 * @return the file's text.
 */
std::string CoefficientFileText(const Coefficients& model);

}  // namespace norvane
