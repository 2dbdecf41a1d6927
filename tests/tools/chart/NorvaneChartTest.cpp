// norvane-chart end to end: its files are valid of their kinds, bad options
// get the usage, and a file that cannot be written leaves nothing behind.

#include <cairo.h>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/tools/chart/ChartCommand.hpp"
#include "common/Pi.hpp"
#include "tools/chart/ChartFrame.hpp"
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
      "--model ''" + out,                      // an unset variable
      "--alt 0x10" + out,
      "--png ''",
      "--png",
      "--pole-path 2025:2030:1" + out,  // not a polar map
      "--projection north-polar --pole-path 2030:2025:1" + out,
      "--projection south-polar --pole-path 2025:2030" + out,
      "--threads 0" + out,
      "--threads -2" + out,
      "--threads 2.5" + out,
      "--threads many" + out,
      "--threads 4096" + out,
      "extra" + out};
  for (const std::string& arguments : bad) {
    const ChartRun run = RunChart(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("norvane-chart"), std::string::npos) << arguments;
  }
  EXPECT_FALSE(Exists(ScratchPath(".json")));
}

// However many threads evaluate the grid, every file is the same, byte for
// byte: along circles and above the sea point by point.
TEST(NorvaneChartTest, DrawsTheSameFilesOnAnyNumberOfThreads) {
  for (const std::string options :
       {"--grid 1 --coastlines none", "--element F --rates --grid 2",
        "--element I --height msl --grid 3 --projection north-polar "
        "--coastlines none"}) {
    std::string first[3];
    for (const char* threads : {"1", "2", "7"}) {
      const std::string files[3] = {ScratchPath(".svg"), ScratchPath(".json"),
                                    ScratchPath(".png")};
      ASSERT_EQ(
          RunChart(options + " --threads " + threads + " --svg " + files[0] +
                   " --geojson " + files[1] + " --png " + files[2])
              .status,
          0)
          << options;
      for (int k = 0; k < 3; ++k) {
        const std::string bytes = ReadFile(files[k]);
        if (first[k].empty()) first[k] = bytes;
        EXPECT_FALSE(bytes.empty()) << options << " " << files[k];
        EXPECT_EQ(bytes, first[k])
            << options << " " << files[k] << " " << threads << " threads";
      }
    }
  }
}

// How many paths an SVG strokes in a colour: cairo writes each as
// "stroke:rgb(R%,G%,B%)" with whole percentages.
int StrokesIn(const std::string& svg, Colour colour) {
  const auto percent = [](double c) {
    return std::to_string(static_cast<int>(std::lround(100.0 * c))) + "%";
  };
  const std::string stroke = "stroke:rgb(" + percent(colour.r) + "," +
                             percent(colour.g) + "," + percent(colour.b) + ")";
  int count = 0;
  for (std::size_t at = svg.find(stroke); at != std::string::npos;
       at = svg.find(stroke, at + 1))
    ++count;
  return count;
}

// The key shows a kind of line (positive, negative, zero) only where the
// map shows one: north of 55 degrees the field dips down everywhere, south
// of -55 up everywhere, and a world map has both and the dip equator.
TEST(NorvaneChartTest, TheKeyShowsOnlyTheKindsOfLineOnTheMap) {
  const struct {
    const char* projection;
    bool positive, negative, zero;
  } cases[] = {{"plate-carree", true, true, true},
               {"north-polar", true, false, false},
               {"south-polar", false, true, false}};
  for (const auto& c : cases) {
    const std::string svg = ScratchPath(".svg");
    ASSERT_EQ(RunChart(std::string("--element I --grid 2 --coastlines none "
                                   "--projection ") +
                       c.projection + " --svg " + svg)
                  .status,
              0);
    const std::string text = ReadFile(svg);
    EXPECT_EQ(StrokesIn(text, kPositive) > 0, c.positive) << c.projection;
    EXPECT_EQ(StrokesIn(text, kNegative) > 0, c.negative) << c.projection;
    EXPECT_EQ(StrokesIn(text, kZero) > 0, c.zero) << c.projection;
  }
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
      "2025.0 WMM-2025 11/13/2024\n1 0 -30000 0 0 0\n1 1 -2000 5000 0 0\n" +
      std::string(48, '9') + "\n";
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

// Options that stop the run say what is wrong in the user's terms.
TEST(NorvaneChartTest, SaysWhatIsWrongWithAnOption) {
  const std::string out =
      " --coastlines none --grid 5 --geojson " + ScratchPath(".json");
  const struct {
    std::string arguments, message;
  } cases[] = {
      {"--interval 0" + out, "--interval: '0' is not a positive number\n"},
      {"--alt 0x10" + out, "--alt: '0x10' is not a number\n"},
      {"--alt -inf" + out, "--alt: ('-inf' is not finite)"},
      {"--svg ''" + out, "--svg: the path is empty\n"},
      {"--threads 0" + out,
       "--threads: '0' is not a whole number from 1 to 1024\n"},
      {"--model ''" + out, "--model: the path is empty\n"},
      {"--interval 0.1" + out,
       "--interval: 0.1 gives more than 2000 levels over a turn\n"},
      {"--element F --interval 1" + out,
       "--interval: 1 gives more than 2000 levels over the chart's range"},
  };
  for (const auto& c : cases) {
    const ChartRun run = RunChart(c.arguments);
    EXPECT_EQ(run.status, 2) << c.arguments;
    EXPECT_NE(run.err.find("norvane-chart: " + c.message), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("\nUsage: norvane-chart"), std::string::npos)
        << c.arguments;
  }
  EXPECT_FALSE(Exists(ScratchPath(".json")));
}

// A model whose field overflows gives no chart, and a name with control
// characters reaches the terminal escaped.
TEST(NorvaneChartTest, RefusesAFieldThatIsNotFinite) {
  const std::string model = ScratchPath(".cof");
  const std::string nines(48, '9');
  const struct {
    std::string header, g, message;
    int status;
  } cases[] = {
      {"2020.0 HUGE 01/01/2020", "1e200",
       "norvane-chart: the field of HUGE is not finite over the chart: its "
       "coefficients are too large\n",
       1},
      {"2020.0 RED\x1b[31m 01/01/2020", "1000",
       "norvane-chart: warning: the chart lies outside RED\\x1B[31m's "
       "validity (2020.0 to 2025.0, -1 to 850 km)\n",
       0},
  };
  for (const auto& c : cases) {
    std::ofstream(model) << c.header << "\n1 0 " << c.g << " 0 0 0\n1 1 " << c.g
                         << " " << c.g << " 0 0\n"
                         << nines << "\n";
    const ChartRun run =
        RunChart("--model " + model + " --year 2030 --alt 0 --grid 5 " +
                 "--coastlines none --geojson " + ScratchPath(".json"));
    EXPECT_EQ(run.status, c.status) << c.header;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(Exists(ScratchPath(".json")), c.status == 0);
    std::remove(ScratchPath(".json").c_str());
  }
}

// What each kind of output path gets: a regular file replaced keeps its
// mode, a link's target is replaced, a FIFO or device is written into and
// a write error there fails the run; a path that is a directory stops the
// run before anything is written anywhere, whatever its place.
TEST(NorvaneChartTest, OutputsReplaceOnlyTheirOwnFiles) {
  const std::string options = " --coastlines none --grid 5 ";
  const std::string target = ScratchPath(".target");
  const std::string link = ScratchPath(".link");
  std::ofstream(target) << "old";
  ::chmod(target.c_str(), 0600);
  std::remove(link.c_str());
  ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
  ASSERT_EQ(RunChart(options + "--geojson " + link).status, 0);
  struct stat info;
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  const std::string chart = ReadFile(target);
  EXPECT_EQ(chart.rfind("{\"type\":\"FeatureCollection\"", 0), 0u)
      << chart.substr(0, 40);

  const std::string fifo = ScratchPath(".fifo");
  const std::string good = ScratchPath(".json");
  std::remove(fifo.c_str());
  std::remove(good.c_str());
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const bool fails : {false, true}) {
    // Our own writer keeps the reader from seeing the end before the
    // chart's, and lets it see one if the chart never opens the FIFO.
    const int rd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(rd, 0);
    ::fcntl(rd, F_SETFL, 0);
    const int wr = ::open(fifo.c_str(), O_WRONLY);
    std::string read;
    std::thread reader([&] {
      char block[4096];
      for (ssize_t n; (n = ::read(rd, block, sizeof block)) > 0;)
        read.append(block, static_cast<std::size_t>(n));
    });
    const ChartRun run =
        RunChart(options + "--geojson " + fifo +
                 (fails ? " --svg " + testing::TempDir() : std::string()));
    ::close(wr);
    reader.join();
    ::close(rd);
    EXPECT_EQ(run.status, fails ? 1 : 0) << run.err;
    EXPECT_EQ(read, fails ? "" : chart);
  }
  ASSERT_EQ(::stat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));

  const struct {
    std::string arguments, message;
  } failures[] = {
      {"--geojson " + good + " --png /dev/full",
       "norvane-chart: cannot write /dev/full: No space left on device\n"},
      {"--geojson " + good + " --svg " + testing::TempDir() + ".",
       "norvane-chart: cannot write " + testing::TempDir() +
           ".: it is a directory\n"},
  };
  for (const auto& f : failures) {
    const ChartRun run = RunChart(options + f.arguments);
    EXPECT_EQ(run.status, 1) << f.arguments;
    EXPECT_EQ(run.err, f.message);
    EXPECT_FALSE(Exists(good)) << f.arguments;
  }
  ASSERT_EQ(::stat("/dev/full", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  const std::string base = good.substr(testing::TempDir().size());
  EXPECT_TRUE(NamesStarting(testing::TempDir(), "." + base).empty());
}

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

}  // namespace
}  // namespace norvane::chart
