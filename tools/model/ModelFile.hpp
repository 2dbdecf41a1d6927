#pragma once
/**
 * \file ModelFile.hpp
 * \brief Reads a model file of either layout the tools take, told apart by
 *   its content: a coefficient file (WMM.COF layout) or an SHC file.
 */

#include <string>

#include "tools/model/TimeVaryingModel.hpp"

namespace norvane {

/**
 * Reads a model file, in the SHC layout if IsShcText says so, else as a
 * coefficient file.
 *
 * @param[in] path the file.
 * @return the model.
 * @exception CoefficientFileError ("FILE:LINE: fault", or "FILE: fault" if
 *   it cannot be read) on the first fault.
 */
TimeVaryingModel ReadModelFile(const std::string& path);

}  // namespace norvane
