// Any bytes as a coefficient file give a model or one message naming the
// file and a line, never a crash; a model read is complete and evaluates.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "tools/model/CoefficientFile.hpp"
#include "tools/model/LoadedModel.hpp"
#include "tests/fuzz/Fuzz.hpp"

using norvane::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  norvane::Coefficients model;
  try {
    model = norvane::ParseCoefficients(text, "fuzz.cof");
  } catch (const norvane::CoefficientFileError& e) {
    const std::string message = e.what();
    Require(message.rfind("fuzz.cof:", 0) == 0, "the message names the file");
    Require(message.find('\n') == std::string::npos, "one line");
    return 0;
  }
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
  const norvane::LoadedModel loaded(model);
  loaded.Evaluate(0.0, 0.5, 1.0, model.epoch, true);
  return 0;
}
