#include "tools/field/PoleTool.hpp"

#include <charconv>
#include <optional>
#include <string>

#include "tools/model/Poles.hpp"

namespace norvane::tools {
namespace {

std::string Shortest(double value) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void WritePole(std::FILE* out, const std::string& year, const char* label,
               const std::optional<PolePosition>& pole) {
  if (pole) {
    std::fprintf(out, "%s %s %.6f %.6f\n", year.c_str(), label, pole->latitude,
                 pole->longitude);
  } else {
    std::fprintf(out, "%s %s nan nan\n", year.c_str(), label);
  }
}

}  // namespace

int WritePoles(const TimeVaryingModel& model, const YearRange& years,
               double altitude, std::FILE* out, std::FILE* err) {
  bool failed = false;
  const std::uint64_t count = YearCount(years);
  for (std::uint64_t i = 0; i < count; ++i) {
    const double year = YearAt(years, i);
    const std::string text = Shortest(year);
    const struct {
      DipPole which;
      const char* label;
      const char* name;
    } dips[] = {{DipPole::kNorth, "north-dip", "north"},
                {DipPole::kSouth, "south-dip", "south"}};
    for (const auto& dip : dips) {
      const std::optional<PolePosition> pole =
          FindDipPole(model.At(year), dip.which, altitude, year);
      if (!pole) {
        std::fprintf(err,
                     "norvane-field: the %s dip pole of %s was not found: "
                     "the search did not converge\n",
                     dip.name, text.c_str());
        failed = true;
      }
      WritePole(out, text, dip.label, pole);
    }
    const GeomagneticPoles dipole =
        CentredDipolePoles(model.At(year).Dipole(year));
    WritePole(out, text, "north-geomagnetic", dipole.north);
    WritePole(out, text, "south-geomagnetic", dipole.south);
    std::fprintf(out, "%s dipole-moment %.6g\n", text.c_str(), dipole.moment);
  }
  if (std::fflush(out) != 0 || std::ferror(out)) {
    std::fprintf(err, "norvane-field: cannot write output\n");
    failed = true;
  }
  return failed ? 1 : 0;
}

}  // namespace norvane::tools
