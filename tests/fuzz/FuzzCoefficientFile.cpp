// Any bytes as a coefficient file give a model or one message naming the
// file and a line, never a crash; a model read is complete and evaluates,
// and no file cut short anywhere is read as a different model.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "model/CoefficientFile.hpp"
#include "model/LoadedModel.hpp"
#include "tests/fuzz/Fuzz.hpp"

using norvane::fuzz::Require;

namespace {

// Parses the text; false if it is refused, with the message checked.
bool Parse(std::string_view text, norvane::Coefficients& model) {
  try {
    model = norvane::ParseCoefficients(text, "fuzz.cof");
    return true;
  } catch (const norvane::CoefficientFileError& e) {
    const std::string message = e.what();
    Require(message.rfind("fuzz.cof:", 0) == 0, "the message names the file");
    Require(message.find('\n') == std::string::npos, "one line");
    return false;
  }
}

bool SameRows(const norvane::Coefficients& a, const norvane::Coefficients& b) {
  if (a.degree != b.degree || a.rows.size() != b.rows.size()) return false;
  for (std::size_t i = 0; i < a.rows.size(); ++i) {
    if (std::memcmp(&a.rows[i], &b.rows[i], sizeof a.rows[i]) != 0)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  norvane::Coefficients model;
  if (!Parse(text, model)) return 0;
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
  // The file cut at every byte: refused, or read as the same model (a cut
  // in the line of nines or the blank lines after it loses nothing).
  for (std::size_t cut = 0; cut < size; ++cut) {
    norvane::Coefficients part;
    if (Parse(text.substr(0, cut), part))
      Require(SameRows(part, model), "a file cut short is refused");
  }
  const norvane::LoadedModel loaded(model);
  loaded.Evaluate(0.0, 0.5, 1.0, model.epoch, true);
  return 0;
}
