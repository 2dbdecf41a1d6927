#include "tools/chart/Coastlines.hpp"

#include <shapefil.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace norvane::chart {

const char kDefaultCoastlineFile[] =
    "/usr/share/cartopy/data/shapefiles/gshhs/c/GSHHS_c_L1.shp";

bool Coastlines::Coast(const GeoPoint& a, const GeoPoint& b) {
  const bool alongCut =
      a.lon == b.lon && (std::fabs(a.lon) == 180.0 || a.lon == 0.0);
  const bool alongPole = a.lat == b.lat && std::fabs(a.lat) == 90.0;
  return !alongCut && !alongPole;
}

bool ReadCoastlines(const std::string& path, Coastlines& coastlines,
                    std::string& error) {
  // The library's own messages would go to standard error; the tool says
  // what failed itself.
  SAHooks hooks;
  SASetupDefaultHooks(&hooks);
  hooks.Error = [](const char*) {};
  const std::unique_ptr<SHPInfo, decltype(&SHPClose)> file(
      SHPOpenLL(path.c_str(), "rb", &hooks), &SHPClose);
  if (!file) {
    error = "cannot read coastlines '" + path + "'";
    return false;
  }
  int count = 0, type = 0;
  SHPGetInfo(file.get(), &count, &type, nullptr, nullptr);
  if (type != SHPT_POLYGON) {
    error = "coastlines '" + path + "' hold no polygons";
    return false;
  }
  coastlines.rings.clear();
  for (int s = 0; s < count; ++s) {
    const std::unique_ptr<SHPObject, decltype(&SHPDestroyObject)> shape(
        SHPReadObject(file.get(), s), &SHPDestroyObject);
    if (!shape) continue;
    for (int part = 0; part < shape->nParts; ++part) {
      const int begin = shape->panPartStart[part];
      const int end = part + 1 < shape->nParts ? shape->panPartStart[part + 1]
                                               : shape->nVertices;
      std::vector<GeoPoint> ring;
      for (int v = std::max(begin, 0); v < end && v < shape->nVertices; ++v) {
        const GeoPoint p{shape->padfX[v], shape->padfY[v]};
        if (std::isfinite(p.lon) && std::isfinite(p.lat)) ring.push_back(p);
      }
      if (ring.size() >= 3) coastlines.rings.push_back(std::move(ring));
    }
  }
  return true;
}

}  // namespace norvane::chart
