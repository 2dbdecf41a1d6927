#include "tools/chart/Projection.hpp"

#include <algorithm>
#include <cmath>

#include "tools/common/Angles.hpp"

namespace norvane::chart {

std::optional<ProjectionKind> ParseProjection(std::string_view name) {
  constexpr ProjectionKind kAll[] = {
      ProjectionKind::kPlateCarree, ProjectionKind::kMercator,
      ProjectionKind::kNorthPolar, ProjectionKind::kSouthPolar};
  for (ProjectionKind kind : kAll) {
    if (name == ProjectionName(kind)) return kind;
  }
  return std::nullopt;
}

const char* ProjectionName(ProjectionKind kind) {
  switch (kind) {
    case ProjectionKind::kPlateCarree:
      return "plate-carree";
    case ProjectionKind::kMercator:
      return "mercator";
    case ProjectionKind::kNorthPolar:
      return "north-polar";
    case ProjectionKind::kSouthPolar:
      return "south-polar";
  }
  return "?";
}

Projection::Projection(ProjectionKind kind, double left, double top,
                       double width, double height)
    : kind_(kind) {
  // The map's extent in unscaled units.
  double extentX, extentY;
  if (Polar()) {
    extentX = extentY = 2.0 * PolarRadius(kPolarLimit);
  } else {
    extentX = 2.0 * kPi;
    extentY = kind == ProjectionKind::kMercator
                  ? 2.0 * MercatorY(kMercatorLimit)
                  : kPi;
  }
  scale_ = std::min(width / extentX, height / extentY);
  width_ = extentX * scale_;
  height_ = extentY * scale_;
  left_ = left + 0.5 * (width - width_);
  top_ = top + 0.5 * (height - height_);
}

bool Projection::Polar() const {
  return kind_ == ProjectionKind::kNorthPolar ||
         kind_ == ProjectionKind::kSouthPolar;
}

double Projection::MinLatitude() const {
  switch (kind_) {
    case ProjectionKind::kPlateCarree:
      return -90.0;
    case ProjectionKind::kMercator:
      return -kMercatorLimit;
    case ProjectionKind::kNorthPolar:
      return kPolarLimit;
    case ProjectionKind::kSouthPolar:
      return -90.0;
  }
  return -90.0;
}

double Projection::MaxLatitude() const {
  switch (kind_) {
    case ProjectionKind::kPlateCarree:
      return 90.0;
    case ProjectionKind::kMercator:
      return kMercatorLimit;
    case ProjectionKind::kNorthPolar:
      return 90.0;
    case ProjectionKind::kSouthPolar:
      return -kPolarLimit;
  }
  return 90.0;
}

double Projection::MercatorY(double lat) const {
  return std::log(std::tan(0.25 * kPi + 0.5 * tools::Radians(lat)));
}

double Projection::PolarRadius(double lat) const {
  return 2.0 * std::tan(0.5 * tools::Radians(90.0 - std::fabs(lat)));
}

Pixel Projection::Project(double lon, double lat) const {
  const double centreX = left_ + 0.5 * width_, centreY = top_ + 0.5 * height_;
  if (Polar()) {
    const double r = PolarRadius(lat) * scale_;
    const double a = tools::Radians(lon);
    const double south = kind_ == ProjectionKind::kSouthPolar ? -1.0 : 1.0;
    return {centreX + r * std::sin(a), centreY + south * r * std::cos(a)};
  }
  const double x = centreX + tools::Radians(lon) * scale_;
  const double clamped = std::clamp(lat, MinLatitude(), MaxLatitude());
  const double y = kind_ == ProjectionKind::kMercator ? MercatorY(clamped)
                                                      : tools::Radians(clamped);
  return {x, centreY - y * scale_};
}

}  // namespace norvane::chart
