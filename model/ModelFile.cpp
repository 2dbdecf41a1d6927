#include "model/ModelFile.hpp"

#include "model/CoefficientFile.hpp"
#include "model/ShcFile.hpp"
#include "model/TextFields.hpp"

namespace norvane {

TimeVaryingModel ReadModelFile(const std::string& path) {
  const std::string text = ReadModelText(path);
  if (IsShcText(text)) return TimeVaryingModel(ParseShc(text, path));
  return TimeVaryingModel(ParseCoefficients(text, path));
}

}  // namespace norvane
