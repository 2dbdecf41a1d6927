#include "tools/chart/WeakField.hpp"

namespace norvane::chart {

std::vector<std::vector<GeoPoint>> WeakFieldCells(const ValueGrid& grid,
                                                  double threshold) {
  std::vector<std::vector<GeoPoint>> cells;
  for (int j = 0; j + 1 < grid.rows; ++j) {
    bool extendable =
        false;  // the last polygon is a run of whole cells of row j
    for (int i = 0; i < grid.columns; ++i) {
      const int east = (i + 1) % grid.columns;
      const double lon = grid.Longitude(i), lat = grid.Latitude(j);
      const double lat1 = grid.Latitude(j + 1);
      // Corners anticlockwise from the south-west.
      const GeoPoint corners[4] = {{lon, lat},
                                   {lon + grid.lonStep, lat},
                                   {lon + grid.lonStep, lat1},
                                   {lon, lat1}};
      const double h[4] = {grid.Horizontal(i, j), grid.Horizontal(east, j),
                           grid.Horizontal(east, j + 1),
                           grid.Horizontal(i, j + 1)};
      const bool whole = h[0] < threshold && h[1] < threshold &&
                         h[2] < threshold && h[3] < threshold;
      if (whole && extendable) {
        cells.back()[1].lon += grid.lonStep;
        cells.back()[2].lon += grid.lonStep;
        continue;
      }
      extendable = whole;
      std::vector<GeoPoint> polygon;
      for (int k = 0; k < 4; ++k) {
        const int next = (k + 1) % 4;
        const bool in = h[k] < threshold, nextIn = h[next] < threshold;
        if (in) polygon.push_back(corners[k]);
        if (in != nextIn) {
          const double f = (threshold - h[k]) / (h[next] - h[k]);
          polygon.push_back(
              {corners[k].lon + f * (corners[next].lon - corners[k].lon),
               corners[k].lat + f * (corners[next].lat - corners[k].lat)});
        }
      }
      if (polygon.size() >= 3) cells.push_back(std::move(polygon));
    }
  }
  return cells;
}

}  // namespace norvane::chart
