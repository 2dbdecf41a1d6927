// norvane-sim: the stand-in host on platforms without GDI.  Runs the module
// once, then shows the recorded page as text and, on request, as images.

#include <iostream>
#include <string>

#include "sim/LifeCycle.hpp"
#include "sim/Options.hpp"
#include "sim/PageImage.hpp"
#include "sim/PageListing.hpp"

namespace {

int Fail(const std::string& why) {
  std::cerr << "norvane-sim: " << why << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace norvane::sim;
  SimOptions options;
  if (const auto status =
          ParseOptions(argc, argv, options, std::cout, std::cerr)) {
    return *status;
  }
  const std::string module = ModuleToLoad(options, NORVANE_MODULE_FILE);

  StandInDC dc;
  const std::string failure =
      RunModule(module, options.width, options.height, options.vessel, &dc);
  if (!failure.empty()) return Fail(failure);

  if (options.dump) {
    WriteDump(dc, std::cout);
  } else {
    WriteText(dc, std::cout);
  }
  std::string error;
  if (!options.pngFile.empty() &&
      !WritePng(dc, options.width, options.height, options.pngFile, error)) {
    return Fail(error);
  }
  if (!options.svgFile.empty() &&
      !WriteSvg(dc, options.width, options.height, options.svgFile, error)) {
    return Fail(error);
  }
  return 0;
}
