#include "tools/model/Uncertainty.hpp"

#include <algorithm>
#include <cmath>

#include "common/Pi.hpp"

namespace norvane {
namespace {

struct NamedErrorModel {
  std::string_view name;
  ErrorModel model;
};

// NOAA's error model of each release: the constants of the C and C++
// headers of NOAA's own WMM software for that release (X, Y, Z, H, F in
// nT, I in degrees, then declination's a in degrees and b in degrees x nT).
// WMM-2015v2 kept WMM-2015's.  WMM-2010 and WMM-2005 have none here: no
// source for theirs was verified.
constexpr NamedErrorModel kPublished[] = {
    {"WMM-2015", {138, 89, 165, 133, 152, 0.22, 0.24, 5432}},
    {"WMM-2015v2", {138, 89, 165, 133, 152, 0.22, 0.24, 5432}},
    {"WMM-2020", {131, 94, 157, 128, 145, 0.21, 0.26, 5625}},
    {"WMM-2025", {137, 89, 141, 133, 138, 0.20, 0.26, 5417}},
    {"WMMHR-2025", {135, 85, 134, 130, 134, 0.19, 0.25, 5205}},
};

constexpr double kRadiansPerDegree = kPi / 180.0;

}  // namespace

std::optional<ErrorModel> PublishedErrorModel(std::string_view modelName) {
  for (const NamedErrorModel& entry : kPublished) {
    if (entry.name == modelName) return entry.model;
  }
  return std::nullopt;
}

double DeclinationUncertainty(const ErrorModel& model, double H) {
  if (std::isnan(H)) return H;
  // b / H is infinite at H = 0, and hypot of an infinity is infinite.
  return std::min(std::hypot(model.declinationA, model.declinationB / H),
                  kMaxDeclinationUncertainty);
}

FieldElements Uncertainty(const ErrorModel& model, double H) {
  return {model.X,
          model.Y,
          model.Z,
          model.F,
          model.H,
          DeclinationUncertainty(model, H) * kRadiansPerDegree,
          model.I * kRadiansPerDegree};
}

}  // namespace norvane
