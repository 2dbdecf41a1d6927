// norvane-sim on Windows: the stand-in host with the real loader and GDI.
// Runs the module once on an MFD surface in memory, writes the page as GDI
// painted it, and checks the pixels the page's geometry fixes.

#include <iostream>
#include <string>

#include "sim/GdiPage.hpp"
#include "sim/GdiPageCheck.hpp"
#include "sim/LifeCycle.hpp"
#include "sim/Options.hpp"

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

  GdiPage page(static_cast<int>(options.width),
               static_cast<int>(options.height));
  if (!page.Valid()) return Fail("cannot create the MFD surface in GDI");
  const std::string failure = RunModule(module, options.width, options.height,
                                        options.vessel, page.Dc());
  if (!failure.empty()) return Fail(failure);

  if (!options.bmpFile.empty() && !page.WriteBmp(options.bmpFile)) {
    return Fail("cannot write " + options.bmpFile);
  }
  const auto problems = CheckGdiPage(page, ExpectedHeadings(options.vessel));
  for (const auto& problem : problems) std::cerr << "page: " << problem << '\n';
  if (!problems.empty()) return Fail("the painted page is wrong");
  const bool needles = page.Width() >= kMinCheckedWidth;
  const bool rows = page.Height() >= kMinCheckedHeight;
  std::cout << "page painted through GDI"
            << (needles && rows ? "; needles and rows where they belong"
                : needles       ? "; needles where they belong (too low to "
                                  "check the rows)"
                : rows ? "; rows where they belong (too narrow to check the "
                         "needles)"
                       : " (too small to check)")
            << '\n';
  return 0;
}
