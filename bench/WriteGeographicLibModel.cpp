/**
 * \file WriteGeographicLibModel.cpp
 * \brief Writes the compiled-in WMM-2005 table as a GeographicLib magnetic
 *   model, so that its MagneticField tool evaluates the same field.
 *
 * Usage: write-geographiclib-model DIR
 *
 * Writes DIR/wmm2005.wmm (the text header) and DIR/wmm2005.wmm.cof (the
 * binary coefficients).  Use the model with `MagneticField -n wmm2005 -d DIR`.
 *
 * The coefficient file holds, after an 8-byte signature, two coefficient
 * sets (main field at the epoch, then its rate of change per year), each as
 * N and M (32-bit little-endian integers) followed by the cosine terms g for
 * m = 0..M, n = m..N (order-major) and the sine terms h for m = 1..M,
 * n = m..N, as little-endian IEEE doubles in nT and nT/year, Schmidt
 * quasi-normalised like the table itself.
 */

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "model/Wmm2005.hpp"

namespace {

using norvane::CoefficientIndex;
using norvane::CoefficientRow;
using norvane::kWmm2005;
using norvane::kWmm2005Degree;

constexpr char kSignature[] = "WMM2005A";  // exactly 8 characters

// GeographicLib wants little-endian data; this writer runs on x86 only.
static_assert(sizeof(double) == 8, "IEEE doubles expected");

void WriteInt(std::ofstream& out, std::int32_t value) {
  out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

void WriteDouble(std::ofstream& out, double value) {
  out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

// One coefficient set: `cosine` and `sine` pick g/h or gDot/hDot of a row.
void WriteSet(std::ofstream& out, double CoefficientRow::*cosine,
              double CoefficientRow::*sine) {
  WriteInt(out, kWmm2005Degree);
  WriteInt(out, kWmm2005Degree);
  for (int m = 0; m <= kWmm2005Degree; ++m)
    for (int n = m; n <= kWmm2005Degree; ++n)
      WriteDouble(out, kWmm2005[CoefficientIndex(n, m)].*cosine);
  for (int m = 1; m <= kWmm2005Degree; ++m)
    for (int n = m; n <= kWmm2005Degree; ++n)
      WriteDouble(out, kWmm2005[CoefficientIndex(n, m)].*sine);
}

const char kHeader[] =
    "WMMF-2\n"
    "Name          wmm2005\n"
    "Description   World Magnetic Model 2005, from the compiled-in table\n"
    "Radius        6371200\n"
    "NumModels     1\n"
    "Epoch         2005\n"
    "MinTime       2005\n"
    "MaxTime       2010\n"
    "MinHeight     -1000\n"
    "MaxHeight     850000\n"
    "Normalization schmidt\n"
    "ID            WMM2005A\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  const std::string base = std::string(argv[1]) + "/wmm2005.wmm";

  std::ofstream header(base, std::ios::binary);
  header << kHeader;
  std::ofstream coefficients(base + ".cof", std::ios::binary);
  coefficients.write(kSignature, 8);
  WriteSet(coefficients, &CoefficientRow::g, &CoefficientRow::h);
  WriteSet(coefficients, &CoefficientRow::gDot, &CoefficientRow::hDot);

  header.close();
  coefficients.close();
  if (!header || !coefficients) {
    std::fprintf(stderr, "%s: cannot write %s{,.cof}\n", argv[0], base.c_str());
    return 1;
  }
  return 0;
}
