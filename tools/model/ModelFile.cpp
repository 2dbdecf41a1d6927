#include "tools/model/ModelFile.hpp"

#include "tools/model/CoefficientFile.hpp"
#include "tools/model/ShcFile.hpp"
#include "tools/model/TextFields.hpp"

namespace norvane {

TimeVaryingModel ReadModelFile(const std::string& path) {
  const std::string text = ReadModelText(path);
  if (IsShcText(text)) return TimeVaryingModel(ParseShc(text, path));
  return TimeVaryingModel(ParseCoefficients(text, path));
}

}  // namespace norvane
