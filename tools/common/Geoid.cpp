#include "tools/common/Geoid.hpp"

#include <proj.h>

#include <cmath>
#include <string>

namespace norvane::tools {

// A PROJ context of our own, and on it the operation that adds N to a
// height: degrees in, and the vertical grid shift on radians between.
struct Geoid::Proj {
  PJ_CONTEXT* context = nullptr;
  PJ* shift = nullptr;
  ~Proj() {
    if (shift) proj_destroy(shift);
    if (context) proj_context_destroy(context);
  }
};

const char* ParseHeightReference(std::string_view text,
                                 HeightReference& reference) {
  if (text == "ellipsoid") {
    reference = HeightReference::kEllipsoid;
  } else if (text == "msl") {
    reference = HeightReference::kMeanSeaLevel;
  } else {
    return "is neither 'ellipsoid' nor 'msl'";
  }
  return nullptr;
}

Geoid::Geoid() : proj_(std::make_unique<Proj>()) {
  proj_->context = proj_context_create();
  if (proj_->context == nullptr) throw GeoidError("cannot start PROJ");
  // Logging would print PROJ's own messages; the error below says it all.
  proj_log_level(proj_->context, PJ_LOG_NONE);
  const std::string definition =
      std::string(
          "+proj=pipeline +step +proj=unitconvert +xy_in=deg "
          "+xy_out=rad +step +proj=vgridshift +multiplier=1 +grids=") +
      kGridName + " +step +proj=unitconvert +xy_in=rad +xy_out=deg";
  proj_->shift = proj_create(proj_->context, definition.c_str());
  if (proj_->shift == nullptr) {
    throw GeoidError(std::string("cannot read the geoid grid ") + kGridName +
                     " (Debian's package proj-data installs it): " +
                     proj_context_errno_string(
                         proj_->context, proj_context_errno(proj_->context)));
  }
}

Geoid::~Geoid() = default;

double Geoid::Undulation(double latitude, double longitude) const {
  if (!std::isfinite(latitude) || !std::isfinite(longitude)) return NAN;
  // The grid spans one turn from -180 degrees.
  const PJ_COORD in =
      proj_coord(std::remainder(longitude, 360.0), latitude, 0.0, 0.0);
  PJ_COORD out;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    out = proj_trans(proj_->shift, PJ_FWD, in);
    proj_errno_reset(proj_->shift);
  }
  const double n = out.xyz.z;
  return std::isfinite(n) && n != HUGE_VAL ? n : NAN;
}

double Geoid::EllipsoidHeight(double latitude, double longitude,
                              double height) const {
  constexpr double kMetresPerKm = 1000.0;
  return height + Undulation(latitude, longitude) / kMetresPerKm;
}

}  // namespace norvane::tools
