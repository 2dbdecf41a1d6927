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
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "tests/tools/ChartCommand.hpp"

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

}  // namespace
// Heights above the sea move the chart's lines: the geoid lies up to about
// 100 m from the ellipsoid.
TEST(NorvaneChartTest, ChartsHeightsAboveTheSea) {
  const std::string sea = ScratchPath(".sea.json");
  const std::string ellipsoid = ScratchPath(".ellipsoid.json");
  const std::string common = " --element F --grid 5 --coastlines none";
  ASSERT_EQ(RunChart("--height msl --geojson " + sea + common).status, 0);
  ASSERT_EQ(RunChart("--geojson " + ellipsoid + common).status, 0);
  EXPECT_NE(ReadFile(sea), ReadFile(ellipsoid));
  EXPECT_EQ(RunChart("--height sea --geojson " + sea).status, 2);
}

}  // namespace norvane::chart
