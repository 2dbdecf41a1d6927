#include "tools/chart/PoleMarks.hpp"

#include <cmath>
#include <cstdio>
#include <optional>

namespace norvane::chart {

std::vector<PoleMark> DipPoleMarks(const TimeVaryingModel& model, double year,
                                   double altitude) {
  std::vector<PoleMark> marks;
  const struct {
    DipPole which;
    const char* label;
  } poles[] = {{DipPole::kNorth, "N dip pole"},
               {DipPole::kSouth, "S dip pole"}};
  for (const auto& pole : poles) {
    if (const std::optional<PolePosition> p =
            FindDipPole(model.At(year), pole.which, altitude, year))
      marks.push_back({{p->longitude, p->latitude}, pole.label});
  }
  return marks;
}

std::vector<PathYear> DipPolePath(const TimeVaryingModel& model, DipPole which,
                                  const tools::YearRange& years,
                                  double altitude) {
  std::vector<PathYear> path;
  const std::uint64_t count = tools::YearCount(years);
  for (std::uint64_t i = 0; i < count; ++i) {
    const double year = tools::YearAt(years, i);
    if (const std::optional<PolePosition> p =
            FindDipPole(model.At(year), which, altitude, year))
      path.push_back({year, {p->longitude, p->latitude}});
  }
  return path;
}

std::vector<std::size_t> PathLabels(const std::vector<Pixel>& points,
                                    double spacing) {
  std::vector<std::size_t> labels;
  const auto far = [&](std::size_t a, std::size_t b) {
    return std::hypot(points[a].x - points[b].x, points[a].y - points[b].y) >=
           spacing;
  };
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (labels.empty() || far(i, labels.back())) labels.push_back(i);
  }
  const std::size_t last = points.size() - 1;
  if (labels.size() > 1 && labels.back() != last &&
      far(last, labels[labels.size() - 2]))
    labels.back() = last;
  return labels;
}

std::string YearLabel(double year) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", year);
  return text;
}

}  // namespace norvane::chart
