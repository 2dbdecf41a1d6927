// Writes a model in GeographicLib's magnetic-model format: the compiled-in
// WMM-2005 table, or the model of a coefficient file.

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>

#include "testsupport/GeographicLibModel.hpp"

int main(int argc, char** argv) {
  CLI::App app{"Writes a model in GeographicLib's magnetic-model format"};
  std::string prefix;
  std::string cof;
  app.add_option("prefix", prefix,
                 "output path without extension; writes PREFIX.wmm and "
                 "PREFIX.wmm.cof")
      ->required();
  app.add_option("--cof", cof,
                 "the coefficient file to write (default: the compiled-in "
                 "WMM-2005 table)");
  CLI11_PARSE(app, argc, argv);

  try {
    norvane::Coefficients model = cof.empty()
                                      ? norvane::CompiledInCoefficients()
                                      : norvane::ReadCoefficientFile(cof);
    // GeographicLib's name for the model is the file's.
    model.name = prefix.substr(prefix.find_last_of('/') + 1);
    if (!norvane::WriteGeographicLibModel(model, prefix)) {
      std::cerr << "write_model_file: cannot write " << prefix
                << ".wmm or its .cof file\n";
      return 1;
    }
  } catch (const norvane::CoefficientFileError& e) {
    std::cerr << "write_model_file: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
