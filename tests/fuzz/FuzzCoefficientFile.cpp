// Any bytes as a model file, in either layout, give a model or one message
// naming the file and a line, never a crash; a model read is complete and
// evaluates, and no file cut short is read as a different model.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

bool SameRows(const norvane::Coefficients& a, const norvane::Coefficients& b) {
  if (a.degree != b.degree || a.rows.size() != b.rows.size()) return false;
  for (std::size_t i = 0; i < a.rows.size(); ++i) {
    if (std::memcmp(&a.rows[i], &b.rows[i], sizeof a.rows[i]) != 0)
      return false;
  }
  return true;
}

// A file's models, in either layout: one for a coefficient file, one per
// epoch for an SHC file.
std::vector<norvane::Coefficients> Parse(std::string_view text) {
  if (norvane::IsShcText(text)) {
    norvane::ShcModel shc = norvane::ParseShc(text, "fuzz.cof");
    Require(!shc.epochs.empty() &&
                shc.epochs.size() <=
                    static_cast<std::size_t>(norvane::kMaxShcEpochs),
            "epochs within the limit");
    for (std::size_t i = 0; i < shc.epochs.size(); ++i) {
      RequireComplete(shc.epochs[i]);
      Require(i == 0 || shc.epochs[i].epoch > shc.epochs[i - 1].epoch,
              "increasing epochs");
    }
    return std::move(shc.epochs);
  }
  norvane::Coefficients model = norvane::ParseCoefficients(text, "fuzz.cof");
  RequireComplete(model);
  return {std::move(model)};
}

// Parses the text; false if it is refused, with the message checked.
bool Parses(std::string_view text, std::vector<norvane::Coefficients>& models) {
  try {
    models = Parse(text);
    return true;
  } catch (const norvane::CoefficientFileError& e) {
    const std::string message = e.what();
    Require(message.rfind("fuzz.cof:", 0) == 0, "the message names the file");
    Require(message.find('\n') == std::string::npos, "one line");
    return false;
  }
}

bool SameModels(const std::vector<norvane::Coefficients>& a,
                const std::vector<norvane::Coefficients>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (!SameRows(a[i], b[i])) return false;
  return true;
}

// Where the last line holding data starts: the last line that is neither
// blank nor, in an SHC file, a comment; 0 if there is no earlier line.
std::size_t LastDataLineStart(std::string_view text, bool shc) {
  std::size_t end = text.size();
  while (end > 0) {
    const std::size_t newline = text.find_last_of('\n', end - 1);
    const std::size_t start =
        newline == std::string_view::npos ? 0 : newline + 1;
    const std::string_view line = text.substr(start, end - start);
    const std::size_t first = line.find_first_not_of(" \t\r\v\f");
    const bool data =
        first != std::string_view::npos && !(shc && line[first] == '#');
    if (data || start == 0) return start == 0 ? 0 : start - 1;
    end = start - 1;
  }
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<norvane::Coefficients> models;
  if (!Parses(text, models)) return 0;
  // The file cut anywhere before its last data line: refused, or read as
  // the same model (a cut in the blank lines or comments after the rows
  // loses nothing).  A coefficient file's last data line is its line of
  // nines, so every cut of its rows is covered; an SHC file has no end line,
  // and a cut inside its last row cannot be told from a shorter number.
  const std::size_t cuts = LastDataLineStart(text, norvane::IsShcText(text));
  for (std::size_t cut = 0; cut < cuts; ++cut) {
    std::vector<norvane::Coefficients> part;
    if (Parses(text.substr(0, cut), part))
      Require(SameModels(part, models), "a file cut short is refused");
  }
  const norvane::TimeVaryingModel model =
      norvane::IsShcText(text)
          ? norvane::TimeVaryingModel(norvane::ParseShc(text, "fuzz.cof"))
          : norvane::TimeVaryingModel(models.front());
  const norvane::Validity v = model.validity();
  Require(v.from <= v.until, "a span of years");
  for (const double year : {v.from, v.until, 0.5 * (v.from + v.until)})
    model.Evaluate(0.0, 0.5, 1.0, year, true);
  return 0;
}
