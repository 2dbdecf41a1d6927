#include "testsupport/GeographicLibModel.hpp"

#include <cstdint>
#include <cstring>
#include <fstream>

#include "model/Wgs84.hpp"

namespace norvane {
namespace {

// Signature shared by the metadata and the first 8 bytes of the .cof file.
constexpr char kId[] = "NORVANE1";

void PutLittleEndian(std::ofstream& out, std::uint64_t bits, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    out.put(static_cast<char>((bits >> (8 * i)) & 0xFFu));
  }
}

void PutInt32(std::ofstream& out, std::int32_t value) {
  PutLittleEndian(out, static_cast<std::uint32_t>(value), 4);
}

void PutDouble(std::ofstream& out, double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  PutLittleEndian(out, bits, 8);
}

// One coefficient set: cosine terms from `cosine`, sine terms from `sine`.
void PutSet(std::ofstream& out, const Coefficients& model,
            double CoefficientRow::*cosine, double CoefficientRow::*sine) {
  const int degree = model.degree;
  PutInt32(out, degree);
  PutInt32(out, degree);
  for (int m = 0; m <= degree; ++m) {
    for (int n = m; n <= degree; ++n)
      PutDouble(out, model.rows[CoefficientIndex(n, m)].*cosine);
  }
  for (int m = 1; m <= degree; ++m) {
    for (int n = m; n <= degree; ++n)
      PutDouble(out, model.rows[CoefficientIndex(n, m)].*sine);
  }
}

}  // namespace

bool WriteGeographicLibModel(const Coefficients& model,
                             const std::string& prefix) {
  std::ofstream meta(prefix + ".wmm");
  meta.precision(17);
  meta << "WMMF-2\n"
       << "Name " << model.name << "\n"
       << "Description " << model.name << ", from its coefficients\n"
       << "Radius " << wgs84::re * 1000.0 << "\n"
       << "NumModels 1\n"
       << "Epoch " << model.epoch << "\n"
       << "Normalization schmidt\n"
       << "ID " << kId << "\n";
  std::ofstream out(prefix + ".wmm.cof", std::ios::binary);
  out.write(kId, sizeof kId - 1);
  // The main field at the epoch, then its rate of change per year.
  PutSet(out, model, &CoefficientRow::g, &CoefficientRow::h);
  PutSet(out, model, &CoefficientRow::gDot, &CoefficientRow::hDot);
  return static_cast<bool>(meta.flush()) && static_cast<bool>(out.flush());
}

Coefficients CompiledInCoefficients() {
  Coefficients model;
  model.name = "wmm2005";
  model.releaseDate = "12/01/2004";
  model.epoch = kWmm2005Epoch;
  model.degree = kWmm2005Degree;
  model.rows.assign(kWmm2005, kWmm2005 + kWmm2005Rows);
  return model;
}

}  // namespace norvane
