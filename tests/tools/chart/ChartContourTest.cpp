// The contour lines norvane-chart writes as GeoJSON, held against
// GeographicLib's evaluation of the same model at every vertex.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/tools/chart/ChartCommand.hpp"
#include "testsupport/ReferenceField.hpp"

namespace norvane::chart {
namespace {

constexpr double kDegree = 0.017453292519943295;

struct Vertex {
  double lon, lat;
};
using Part = std::vector<Vertex>;

struct Level {
  double value;
  std::vector<Part> parts;
};

// The features of a GeoJSON contour file, by level.
std::vector<Level> ReadLevels(const std::string& path) {
  const nlohmann::json document = nlohmann::json::parse(ReadFile(path));
  std::vector<Level> levels;
  for (const auto& feature : document.at("features")) {
    Level level{feature.at("properties").at("value").get<double>(), {}};
    const auto& geometry = feature.at("geometry");
    auto read = [](const nlohmann::json& coordinates) {
      Part part;
      for (const auto& c : coordinates) {
        part.push_back({c.at(0).get<double>(), c.at(1).get<double>()});
      }
      return part;
    };
    if (geometry.at("type") == "LineString") {
      level.parts.push_back(read(geometry.at("coordinates")));
    } else {
      for (const auto& c : geometry.at("coordinates")) {
        level.parts.push_back(read(c));
      }
    }
    levels.push_back(std::move(level));
  }
  return levels;
}

// The element as GeographicLib's field gives it, in the chart's units.
double Reference(const ReferenceField& reference, const std::string& element,
                 double year, double lat, double lon) {
  double X, Y, Z, dX, dY, dZ;
  reference.EvaluateWithRates(0.0, lat * kDegree, lon * kDegree, year, X, Y, Z,
                              dX, dY, dZ);
  const double H = std::hypot(X, Y);
  if (element == "D") return std::atan2(Y, X) / kDegree;
  if (element == "I") return std::atan2(Z, H) / kDegree;
  if (element == "H") return H;
  if (element == "F") return std::hypot(H, Z);
  if (element == "Z") return Z;
  if (element == "dD") return (X * dY - Y * dX) / (H * H) / kDegree * 60.0;
  if (element == "dF") return (X * dX + Y * dY + Z * dZ) / std::hypot(H, Z);
  ADD_FAILURE() << "no reference for " << element;
  return NAN;
}

double AngleBetween(double a, double b) { return std::remainder(a - b, 360.0); }

struct ContourCase {
  const char* options;
  const char* element;
  double interval;
  const char* model = nullptr;  // an official model's name, or the table's
  double year = 2006.0;
};

class ChartContourTest : public testing::TestWithParam<ContourCase> {};

// Each vertex lies on its contour to within 0.1 % of the interval: the
// model, evaluated independently, gives the level there.
TEST_P(ChartContourTest, EveryVertexHoldsItsLevel) {
  const ContourCase& c = GetParam();
  std::string options = c.options;
  if (c.model != nullptr) {
#ifdef NORVANE_WMM_DATA_DIR
    options += std::string(" --model ") + NORVANE_WMM_DATA_DIR + "/" + c.model +
               ".COF";
#else
    GTEST_SKIP() << "no WMM data directory";
#endif
  }
  const std::string path = ScratchPath(".json");
  ASSERT_EQ(RunChart(options + " --geojson " + path).status, 0);
  const ReferenceField reference =
      c.model ? ReferenceField(c.model, NORVANE_MODEL_DIR) : ReferenceField();
  const bool angle = std::string(c.element) == "D";
  double worst = 0.0;
  std::size_t vertices = 0;
  for (const Level& level : ReadLevels(path)) {
    for (const Part& part : level.parts) {
      for (const Vertex& v : part) {
        const double value =
            Reference(reference, c.element, c.year, v.lat, v.lon);
        const double off =
            angle ? AngleBetween(value, level.value) : value - level.value;
        worst = std::max(worst, std::fabs(off) / c.interval);
        ++vertices;
      }
    }
  }
  EXPECT_GT(vertices, 1000u);
  EXPECT_LE(worst, 1e-3) << "worst vertex, in intervals";
  std::printf("worst vertex: %.3g of the interval\n", worst);
}

INSTANTIATE_TEST_SUITE_P(
    Elements, ChartContourTest,
    testing::Values(ContourCase{"", "D", 2.0},
                    ContourCase{"--element I --interval 5", "I", 5.0},
                    ContourCase{"--element F --grid 1", "F", 1000.0},
                    ContourCase{"--element Z --grid 1", "Z", 1000.0},
                    ContourCase{"--element H --interval 500", "H", 500.0},
                    ContourCase{"--rates --grid 1", "dD", 2.0},
                    ContourCase{"--rates --element F", "dF", 10.0},
                    ContourCase{"--year 2025", "D", 2.0, "WMM2025", 2025.0},
                    ContourCase{"--year 2027.5 --rates --grid 1", "dD", 2.0,
                                "WMM2025", 2027.5}),
    [](const testing::TestParamInfo<ContourCase>& info) {
      return std::string(info.param.element) + "_" +
             (info.param.model ? info.param.model : "table") + "_" +
             std::to_string(info.index);
    });

// The agonic line is there, and D is east on one side of it and west on
// the other all along it.
TEST(ChartAgonicTest, SeparatesEastFromWest) {
  const std::string path = ScratchPath(".json");
  ASSERT_EQ(RunChart("--geojson " + path).status, 0);
  const ReferenceField reference;
  const auto levels = ReadLevels(path);
  const auto agonic =
      std::find_if(levels.begin(), levels.end(),
                   [](const Level& level) { return level.value == 0.0; });
  ASSERT_NE(agonic, levels.end());
  std::size_t checked = 0;
  for (const Part& part : agonic->parts) {
    for (std::size_t k = 0; k + 1 < part.size(); ++k) {
      const Vertex a = part[k], b = part[k + 1];
      if (std::fabs(a.lat) > 80.0) continue;  // the poles are D's own
      const double dLon = (b.lon - a.lon) * std::cos(a.lat * kDegree);
      const double dLat = b.lat - a.lat;
      const double length = std::hypot(dLon, dLat);
      if (length == 0.0) continue;
      // 0.05 degrees to either side, square to the line.
      const double step = 0.05 / length;
      const double lat = 0.5 * (a.lat + b.lat), lon = 0.5 * (a.lon + b.lon);
      const double left =
          Reference(reference, "D", 2006.0, lat + step * dLon,
                    lon - step * dLat / std::cos(lat * kDegree));
      const double right =
          Reference(reference, "D", 2006.0, lat - step * dLon,
                    lon + step * dLat / std::cos(lat * kDegree));
      EXPECT_LT(left * right, 0.0) << "at " << lat << ", " << lon;
      ++checked;
    }
  }
  EXPECT_GT(checked, 500u);
}

// A grid of 0.5 degrees finds every line that one of 0.25 degrees finds:
// no closed loop is missed, no line broken or joined differently.
TEST(ChartGridTest, FinerGridFindsNoOtherLines) {
  for (const char* options :
       {"", "--element I", "--element H", "--element F", "--rates"}) {
    SCOPED_TRACE(options);
    std::map<double, std::size_t> parts[2];
    const char* grids[2] = {" --grid 0.5", " --grid 0.25"};
    for (int g = 0; g < 2; ++g) {
      const std::string path = ScratchPath(".json");
      ASSERT_EQ(RunChart(std::string(options) + grids[g] + " --geojson " + path)
                    .status,
                0);
      for (const Level& level : ReadLevels(path)) {
        parts[g][level.value] = level.parts.size();
      }
    }
    // The change of D is traced over the range that covers all but the
    // ends of the globe's area, which the grids sample a little apart.
    const std::size_t ends = std::string(options) == "--rates" ? 2 : 0;
    EXPECT_LE(std::max(parts[0].size(), parts[1].size()) -
                  std::min(parts[0].size(), parts[1].size()),
              ends);
    for (const auto& [value, count] : parts[0]) {
      if (parts[1].count(value)) {
        EXPECT_EQ(count, parts[1][value]) << value;
      }
    }
  }
}

// Segments intersect, where neither ends on the other.
bool Cross(Vertex a, Vertex b, Vertex c, Vertex d) {
  auto side = [](Vertex p, Vertex q, Vertex r) {
    return (q.lon - p.lon) * (r.lat - p.lat) -
           (q.lat - p.lat) * (r.lon - p.lon);
  };
  const double d1 = side(a, b, c), d2 = side(a, b, d);
  const double d3 = side(c, d, a), d4 = side(c, d, b);
  return d1 * d2 < 0.0 && d3 * d4 < 0.0;
}

// Lines of different levels never cross, also where they bunch up round
// the magnetic poles; only at the geographic poles do all of D's meet.
TEST(ChartCrossingTest, LinesOfDifferentLevelsDoNotCross) {
  for (const char* element : {"D", "I", "H"}) {
    SCOPED_TRACE(element);
    const std::string path = ScratchPath(".json");
    ASSERT_EQ(
        RunChart(std::string("--element ") + element + " --geojson " + path)
            .status,
        0);
    struct Segment {
      Vertex a, b;
      std::size_t level;
    };
    // Segments by the 0.5-degree cells of the grid they touch.
    std::map<std::pair<int, int>, std::vector<Segment>> cells;
    const auto levels = ReadLevels(path);
    for (std::size_t l = 0; l < levels.size(); ++l) {
      for (const Part& part : levels[l].parts) {
        for (std::size_t k = 0; k + 1 < part.size(); ++k) {
          const Segment s{part[k], part[k + 1], l};
          if (std::fabs(s.a.lat) == 90.0 || std::fabs(s.b.lat) == 90.0)
            continue;
          for (int i =
                   static_cast<int>(std::floor(std::min(s.a.lon, s.b.lon) * 2));
               i <= std::floor(std::max(s.a.lon, s.b.lon) * 2); ++i) {
            for (int j = static_cast<int>(
                     std::floor(std::min(s.a.lat, s.b.lat) * 2));
                 j <= std::floor(std::max(s.a.lat, s.b.lat) * 2); ++j) {
              cells[{i, j}].push_back(s);
            }
          }
        }
      }
    }
    int crossings = 0;
    for (const auto& [cell, segments] : cells) {
      for (std::size_t p = 0; p < segments.size(); ++p) {
        for (std::size_t q = p + 1; q < segments.size(); ++q) {
          const Segment &s = segments[p], &t = segments[q];
          if (s.level != t.level && Cross(s.a, s.b, t.a, t.b)) {
            if (++crossings <= 3) {
              ADD_FAILURE() << levels[s.level].value << " crosses "
                            << levels[t.level].value << " near " << s.a.lat
                            << ", " << s.a.lon;
            }
          }
        }
      }
    }
    EXPECT_EQ(crossings, 0);
  }
}

}  // namespace
}  // namespace norvane::chart
