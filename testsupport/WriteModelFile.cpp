// Writes the compiled-in WMM-2005 table as a GeographicLib magnetic model:
// PREFIX.wmm (text metadata) and PREFIX.wmm.cof (little-endian binary
// coefficients).  GeographicLib expects Schmidt semi-normalised coefficients,
// which is how the table holds them, in metres for the reference radius, and
// each coefficient set as N, M (int32), then the cosine terms g(n,m) and the
// sine terms h(n,m) for m >= 1, both column (order) major.

#include <CLI/CLI.hpp>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "model/Wgs84.hpp"
#include "model/Wmm2005.hpp"

namespace {

using norvane::CoefficientIndex;
using norvane::CoefficientRow;
using norvane::kWmm2005;
using norvane::kWmm2005Degree;

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
void PutSet(std::ofstream& out, double CoefficientRow::*cosine,
            double CoefficientRow::*sine) {
  PutInt32(out, kWmm2005Degree);
  PutInt32(out, kWmm2005Degree);
  for (int m = 0; m <= kWmm2005Degree; ++m) {
    for (int n = m; n <= kWmm2005Degree; ++n) {
      PutDouble(out, kWmm2005[CoefficientIndex(n, m)].*cosine);
    }
  }
  for (int m = 1; m <= kWmm2005Degree; ++m) {
    for (int n = m; n <= kWmm2005Degree; ++n) {
      PutDouble(out, kWmm2005[CoefficientIndex(n, m)].*sine);
    }
  }
}

bool WriteMetadata(const std::string& path) {
  std::ofstream out(path);
  out.precision(17);
  out << "WMMF-2\n"
      << "Name wmm2005\n"
      << "Description World Magnetic Model 2005, from the compiled-in table\n"
      << "Radius " << norvane::wgs84::re * 1000.0 << "\n"
      << "NumModels 1\n"
      << "Epoch " << norvane::kWmm2005Epoch << "\n"
      << "Normalization schmidt\n"
      << "ID " << kId << "\n";
  return static_cast<bool>(out.flush());
}

bool WriteCoefficients(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out.write(kId, sizeof kId - 1);
  // The main field at the epoch, then its rate of change per year.
  PutSet(out, &CoefficientRow::g, &CoefficientRow::h);
  PutSet(out, &CoefficientRow::gDot, &CoefficientRow::hDot);
  return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Writes the WMM-2005 table in GeographicLib's model format"};
  std::string prefix;
  app.add_option("prefix", prefix,
                 "output path without extension; writes PREFIX.wmm and "
                 "PREFIX.wmm.cof")
      ->required();
  CLI11_PARSE(app, argc, argv);

  if (!WriteMetadata(prefix + ".wmm") ||
      !WriteCoefficients(prefix + ".wmm.cof")) {
    std::cerr << "write_model_file: cannot write " << prefix
              << ".wmm or its .cof file\n";
    return 1;
  }
  return 0;
}
