// norvane-chart end to end: its files are valid of their kinds, bad options
// get the usage, and a file that cannot be written leaves nothing behind.

#include <cairo.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "tests/tools/chart/ChartCommand.hpp"
#include "common/Pi.hpp"
#include "tools/model/CoefficientFile.hpp"
#include "tools/model/LoadedModel.hpp"

namespace norvane::chart {
namespace {

bool Exists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

// The names in a directory that start with a prefix.
std::vector<std::string> NamesStarting(const std::string& directory,
                                       const std::string& prefix) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(directory.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.compare(0, prefix.size(), prefix) == 0) names.push_back(name);
    }
    ::closedir(dir);
  }
  return names;
}

struct OutputCase {
  const char* name;
  const char* options;
  int width, height;
};

class NorvaneChartOutputTest : public testing::TestWithParam<OutputCase> {};

TEST_P(NorvaneChartOutputTest, WritesValidFilesOfEachKind) {
  const OutputCase& c = GetParam();
  const std::string png = ScratchPath(".png"), svg = ScratchPath(".svg"),
                    json = ScratchPath(".json");
  const ChartRun run = RunChart(std::string(c.options) + " --png " + png +
                                " --svg " + svg + " --geojson " + json);
  ASSERT_EQ(run.status, 0) << run.err;

  // PNG: decodes, at the size asked for.
  cairo_surface_t* image = cairo_image_surface_create_from_png(png.c_str());
  EXPECT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
  EXPECT_EQ(cairo_image_surface_get_width(image), c.width);
  EXPECT_EQ(cairo_image_surface_get_height(image), c.height);
  cairo_surface_destroy(image);

  // SVG: well-formed XML whose root is an svg element of that size.
  xmlDocPtr doc = xmlReadFile(svg.c_str(), nullptr, XML_PARSE_NONET);
  ASSERT_NE(doc, nullptr);
  const xmlNode* root = xmlDocGetRootElement(doc);
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(root->name), "svg");
  xmlChar* width = xmlGetProp(root, reinterpret_cast<const xmlChar*>("width"));
  ASSERT_NE(width, nullptr);
  EXPECT_EQ(std::stod(reinterpret_cast<const char*>(width)), c.width);
  xmlFree(width);
  xmlFreeDoc(doc);

  // GeoJSON: a FeatureCollection of lines, one feature per level, every
  // feature with its properties and coordinates on the globe.
  const nlohmann::json document = nlohmann::json::parse(ReadFile(json));
  EXPECT_EQ(document.at("type"), "FeatureCollection");
  ASSERT_FALSE(document.at("features").empty());
  std::set<double> values;
  for (const auto& feature : document.at("features")) {
    EXPECT_EQ(feature.at("type"), "Feature");
    const auto& properties = feature.at("properties");
    for (const char* key : {"element", "unit", "model"}) {
      EXPECT_TRUE(properties.at(key).is_string()) << key;
    }
    EXPECT_EQ(properties.at("model"), "WMM-2005");
    EXPECT_TRUE(properties.at("year").is_number());
    EXPECT_TRUE(values.insert(properties.at("value").get<double>()).second);
    const auto& geometry = feature.at("geometry");
    const bool single = geometry.at("type") == "LineString";
    EXPECT_TRUE(single || geometry.at("type") == "MultiLineString");
    const auto parts = single
                           ? nlohmann::json::array({geometry.at("coordinates")})
                           : geometry.at("coordinates");
    for (const auto& part : parts) {
      EXPECT_GE(part.size(), 2u);
      for (const auto& point : part) {
        ASSERT_EQ(point.size(), 2u);
        EXPECT_LE(std::fabs(point.at(0).get<double>()), 180.0);
        EXPECT_LE(std::fabs(point.at(1).get<double>()), 90.0);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Projections, NorvaneChartOutputTest,
    testing::Values(
        OutputCase{"PlateCarree", "--size 400x240", 400, 240},
        OutputCase{"MercatorF",
                   "--projection mercator --element F --size 300x250", 300,
                   250},
        OutputCase{"NorthPolarH",
                   "--projection north-polar --element H --size 300x320", 300,
                   320},
        OutputCase{"SouthPolarRates",
                   "--projection south-polar --rates --size 300x320", 300, 320},
        OutputCase{"InclinationTiny",
                   "--element I --year 2009-07-01 --alt 400 "
                   "--coastlines none --size 64x64",
                   64, 64}),
    [](const testing::TestParamInfo<OutputCase>& info) {
      return std::string(info.param.name);
    });

TEST(NorvaneChartTest, BadOptionsGetTheUsage) {
  std::remove(ScratchPath(".json").c_str());
  const std::string out = " --geojson " + ScratchPath(".json");
  const std::vector<std::string> bad = {
      "",  // no output
      "--element Q" + out,
      "--element d" + out,
      "--projection robinson" + out,
      "--size 10x10" + out,
      "--size 400" + out,
      "--size 400x300x2" + out,
      "--size 0x-5" + out,
      "--interval 0" + out,
      "--interval -2" + out,
      "--interval nan" + out,
      "--interval 1e-9" + out,  // millions of levels
      "--year 2006-02-30" + out,
      "--year soon" + out,
      "--alt inf" + out,
      "--alt nan" + out,
      "--grid nan" + out,
      "--grid 0" + out,
      "--grid 0.05" + out,
      "--grid 90" + out,
      "--bogus" + out,
      "--model " + ScratchPath(".COF") + out,  // no such model file
      "--png",
      "--pole-path 2025:2030:1" + out,  // not a polar map
      "--projection north-polar --pole-path 2030:2025:1" + out,
      "--projection south-polar --pole-path 2025:2030" + out,
      "extra" + out};
  for (const std::string& arguments : bad) {
    const ChartRun run = RunChart(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("norvane-chart"), std::string::npos) << arguments;
  }
  EXPECT_FALSE(Exists(ScratchPath(".json")));
}

// A file that cannot be written fails the whole run before any file
// appears, and no temporary file stays behind.
TEST(NorvaneChartTest, UnwritablePathFailsWithoutLeavingFiles) {
  const std::string directory = testing::TempDir();
  const std::string good = ScratchPath(".svg");
  const std::string good2 = ScratchPath(".json");
  std::remove(good.c_str());
  std::remove(good2.c_str());
  const std::string name = "NorvaneChartUnwritable";
  const std::vector<std::string> unwritable = {
      directory + "no-such-directory/chart.png",
      directory,  // a directory, not a file
      "/proc/version"};
  for (const std::string& path : unwritable) {
    const ChartRun run = RunChart("--svg " + good + " --png " + path);
    EXPECT_EQ(run.status, 1) << path;
    EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
    EXPECT_FALSE(Exists(good)) << path;
  }
  const ChartRun run = RunChart("--geojson " + good2 + " --png " + directory +
                                "no-such-directory/" + name + ".png");
  EXPECT_EQ(run.status, 1);
  EXPECT_FALSE(Exists(good2));
  const std::string base = good.substr(directory.size());
  EXPECT_TRUE(NamesStarting(directory, "." + base).empty());
}

TEST(NorvaneChartTest, WarnsOutsideTheModelsValidityAndDrawsAllTheSame) {
  const std::string json = ScratchPath(".json");
  const ChartRun run = RunChart("--year 2015 --geojson " + json);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("outside WMM-2005's validity"), std::string::npos);
  EXPECT_TRUE(Exists(json));
}

// The uncertainty of D is charted for a model with a published error
// model: WMM-2025's sD = hypot(0.26, 5417 / H) is 1, 2 and 5 degrees where
// H is 5609.93, 2731.68 and 1084.87 nT.  Other models are refused.
TEST(NorvaneChartTest, ChartsTheUncertaintyOfDeclination) {
  const std::string model = ScratchPath(".COF");
  const std::string text =
      "2025.0 WMM-2025 11/13/2024\n1 0 -30000 0 0 0\n1 1 -2000 5000 0 0\n";
  std::ofstream(model) << text;
  const std::string json = ScratchPath(".json");
  const ChartRun run = RunChart("--model " + model +
                                " --year 2025 --uncertainty --grid 2 "
                                "--geojson " +
                                json);
  ASSERT_EQ(run.status, 0) << run.err;
  const LoadedModel loaded(ParseCoefficients(text, "test"));
  const struct {
    double level, H;
  } levels[] = {{1, 5609.93}, {2, 2731.68}, {5, 1084.87}};
  const nlohmann::json document = nlohmann::json::parse(ReadFile(json));
  for (const auto& level : levels) {
    int points = 0;
    for (const auto& feature : document.at("features")) {
      EXPECT_EQ(feature.at("properties").at("element"), "sD");
      if (feature.at("properties").at("value") != level.level) continue;
      const auto& geometry = feature.at("geometry");
      const auto& coordinates = geometry.at("coordinates");
      const bool single = geometry.at("type") == "LineString";
      for (const auto& part :
           single ? nlohmann::json::array({coordinates}) : coordinates) {
        for (const auto& point : part) {
          const double lon = point.at(0).get<double>() * kPi / 180;
          const double lat = point.at(1).get<double>() * kPi / 180;
          EXPECT_NEAR(loaded.Evaluate(0.0, lat, lon, 2025.0, false).field.H,
                      level.H, 0.01)
              << level.level;
          ++points;
        }
      }
    }
    EXPECT_GT(points, 10) << level.level;
  }
  for (const char* refused : {"--uncertainty", "--uncertainty --element H",
                              "--uncertainty --rates"}) {
    const ChartRun no = RunChart(std::string(refused) + " --geojson " + json);
    EXPECT_EQ(no.status, 2) << refused;
  }
  const ChartRun old = RunChart("--uncertainty --geojson " + json);
  EXPECT_NE(old.err.find("WMM-2005 has no published error model"),
            std::string::npos);
}

// A polar map with a dip pole's path differs from one without.
TEST(NorvaneChartTest, DrawsADipPolesPathOnPolarMaps) {
  std::string images[2];
  const char* const paths[] = {"", " --pole-path 2005:2010:1"};
  for (int i = 0; i < 2; ++i) {
    const std::string png = ScratchPath(std::to_string(i) + ".png");
    const ChartRun run = RunChart(
        "--projection north-polar --size 300x320 --grid 5 "
        "--coastlines none --png " +
        png + paths[i]);
    EXPECT_EQ(run.status, 0) << run.err;
    images[i] = ReadFile(png);
    EXPECT_FALSE(images[i].empty());
  }
  EXPECT_NE(images[0], images[1]);
}

}  // namespace
}  // namespace norvane::chart
