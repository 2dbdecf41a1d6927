// Any bytes as a model file, in either layout, give a model or one message
// naming the file and a line, never a crash; a model read is complete and
// evaluates.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "tools/model/CoefficientFile.hpp"
#include "tools/model/ShcFile.hpp"
#include "tools/model/TimeVaryingModel.hpp"
#include "tests/fuzz/Fuzz.hpp"

using norvane::fuzz::Require;

namespace {

void RequireComplete(const norvane::Coefficients& model) {
  Require(model.degree >= 1 && model.degree <= norvane::kMaxFileDegree,
          "a degree within the limit");
  Require(
      model.rows.size() == static_cast<std::size_t>(norvane::CoefficientIndex(
                               model.degree, model.degree)) +
                               1,
      "every row read");
  for (const norvane::CoefficientRow& row : model.rows) {
    Require(std::isfinite(row.g) && std::isfinite(row.h) &&
                std::isfinite(row.gDot) && std::isfinite(row.hDot),
            "finite coefficients");
  }
}

norvane::TimeVaryingModel Read(std::string_view text) {
  if (norvane::IsShcText(text)) {
    const norvane::ShcModel shc = norvane::ParseShc(text, "fuzz.cof");
    Require(!shc.epochs.empty() &&
                shc.epochs.size() <=
                    static_cast<std::size_t>(norvane::kMaxShcEpochs),
            "epochs within the limit");
    for (std::size_t i = 0; i < shc.epochs.size(); ++i) {
      RequireComplete(shc.epochs[i]);
      Require(i == 0 || shc.epochs[i].epoch > shc.epochs[i - 1].epoch,
              "increasing epochs");
    }
    return norvane::TimeVaryingModel(shc);
  }
  const norvane::Coefficients model =
      norvane::ParseCoefficients(text, "fuzz.cof");
  RequireComplete(model);
  return norvane::TimeVaryingModel(model);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const norvane::TimeVaryingModel model = Read(text);
    const norvane::Validity v = model.validity();
    Require(v.from <= v.until, "a span of years");
    for (const double year : {v.from, v.until, 0.5 * (v.from + v.until)})
      model.Evaluate(0.0, 0.5, 1.0, year, true);
  } catch (const norvane::CoefficientFileError& e) {
    const std::string message = e.what();
    Require(message.rfind("fuzz.cof:", 0) == 0, "the message names the file");
    Require(message.find('\n') == std::string::npos, "one line");
  }
  return 0;
}
