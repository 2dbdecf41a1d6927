// Runs the norvane-field executable with input on its standard input.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <GeographicLib/MagneticModel.hpp>

#include "model/FieldModel.hpp"
#include "testsupport/GeographicLibModel.hpp"
#include "testsupport/ReferenceField.hpp"
#include "testsupport/SyntheticModel.hpp"
#include "tests/tools/field/ReadNumbers.hpp"
#include "tools/common/Angles.hpp"

namespace norvane::tools {
namespace {

// The line that ends a coefficient file's rows.
const std::string kNines(48, '9');

std::string TestFile(const std::string& suffix) {
  return testing::TempDir() +
         testing::UnitTest::GetInstance()->current_test_info()->name() + suffix;
}

struct ToolRun {
  int status;                    // exit status
  std::vector<std::string> out;  // standard output, by line
  std::string err;               // standard error
};

std::string Slurp(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

ToolRun RunTool(const std::string& arguments, const std::string& input = "") {
  // ctest runs tests in parallel: the files carry the test's name.
  const std::string base = TestFile("");
  std::ofstream(base + ".in", std::ios::binary) << input;
  const std::string command = std::string(NORVANE_FIELD) + " " + arguments +
                              " <" + base + ".in >" + base + ".out 2>" + base +
                              ".err";
  const int status = std::system(command.c_str());
  ToolRun run{
      WIFEXITED(status) ? WEXITSTATUS(status) : -1, {}, Slurp(base + ".err")};
  std::istringstream out(Slurp(base + ".out"));
  for (std::string line; std::getline(out, line);) run.out.push_back(line);
  return run;
}

const char kBoulder[] =
    "20735.978 3524.012 49225.329 53530.668 21033.294 9.645080 66.863660";
const char kNorthPole[] =
    "1864.118 -631.194 56546.319 56580.558 1968.081 -18.706185 88.006639";

TEST(NorvaneFieldTest, EvaluatesAPointFromTheCommandLine) {
  const ToolRun run = RunTool("40 -105 0");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, std::vector<std::string>{kBoulder});
  EXPECT_EQ(RunTool("-- 90 0 0 2006").out,
            std::vector<std::string>{kNorthPole});
  EXPECT_EQ(RunTool("--year 2006 --header 40 -105 0").out,
            (std::vector<std::string>{"X_nT Y_nT Z_nT F_nT H_nT D_deg I_deg",
                                      kBoulder}));
}

TEST(NorvaneFieldTest, KeepsOneOutputLinePerInputLine) {
  const ToolRun run =
      RunTool("",
              "40 -105 0\n"
              "\n"
              "# a comment\n"
              "91 0 0\n"
              " 90 0 0 2006 # pole\r\n"
              "0 0 -6378.137\n" +
                  std::string("4\0 0 0\n", 7) + std::string(100000, '1') +
                  "\n"
                  "40 -105");
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> expected = {
      kBoulder,
      "",
      "",
      "error: LAT '91' is outside [-90, 90]",
      kNorthPole + std::string(" # pole"),
      "error: the field is not finite at this point and year",
      "error: LAT '4\\x00' is not a number or an angle",
      "error: line is longer than 65536 bytes",
      "error: expected 3 or 4 numbers (LAT LON ALT [YEAR]), found 2 fields"};
  EXPECT_EQ(run.out, expected);
  EXPECT_NE(run.err.find("line 4: LAT '91' is outside"), std::string::npos);
  EXPECT_NE(run.err.find("line 9: expected 3 or 4"), std::string::npos);
}

TEST(NorvaneFieldTest, RejectsBadOptionsWithUsage) {
  for (const char* arguments : {"--digits 0",
                                "--digits 18",
                                "--digits x",
                                "--year nan",
                                "--year 2006x",
                                "--year 2006-02-30",
                                "--bogus",
                                "40 -105",
                                "1 2 3 4 5",
                                "--circle 40 0",
                                "--circle 91 0 2006",
                                "--circle 40E 0 2006",
                                "--circle 40 0 2006 40 -105 0",
                                "--input-file - 40 -105 0",
                                "--model '' 0 0 0",
                                "--output-file '' 0 0 0",
                                "--grid 0 1 1 0 1 1 --alt nan",
                                "--grid 0 1 1 0 1 1 --alt 0x10",
                                "--grid 0 1 1 0 1 1 --alt inf",
                                "--grid 0 1 1 0 1 1 --alt 1e999",
                                "--threads 0 0 0 0",
                                "--threads -1 0 0 0",
                                "--threads 1.5 0 0 0",
                                "--threads x 0 0 0",
                                "--threads 1025 0 0 0",
                                "--threads 99999999999999999999 0 0 0"}) {
    const ToolRun run = RunTool(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("Usage:"), std::string::npos) << arguments;
    EXPECT_TRUE(run.out.empty()) << arguments;
  }
  EXPECT_EQ(RunTool("--help").status, 0);
  EXPECT_NE(RunTool("--threads 0 0 0 0")
                .err.find("--threads: '0' is not a whole number from 1 to "
                          "1024"),
            std::string::npos);
  const ToolRun bad = RunTool("91 0 0");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err,
            "norvane-field: command line: LAT '91' is outside "
            "[-90, 90]\n");
}

// With 17 digits the printed numbers are the model's doubles; with --radians
// the angles are the model's own.
TEST(NorvaneFieldTest, SeventeenDigitsAndRadiansGiveTheModelsValues) {
  const ToolRun run = RunTool("--digits 17 --radians",
                              "51.6 120 400\n-60 200 100 2010\n90 10 0\n");
  ASSERT_EQ(run.out.size(), 3u);
  const FieldModel model;
  const double points[][4] = {
      {51.6, 120, 400, 2006}, {-60, 200, 100, 2010}, {90, 10, 0, 2006}};
  for (std::size_t i = 0; i < 3; ++i) {
    std::vector<double> e(7);
    model.Evaluate(points[i][2], Radians(points[i][0]), Radians(points[i][1]),
                   points[i][3], e[0], e[1], e[2], e[3], e[4], e[5], e[6]);
    EXPECT_EQ(ReadNumbers(run.out[i]), e) << run.out[i];
  }
}

TEST(NorvaneFieldTest, KeepsOrderAndLineNumbersAcrossReadBlocks) {
  std::string input;
  for (int i = 1; i <= 20000; ++i) {
    input += i % 7000 == 0 ? "bad\n"
                           : std::to_string(i % 180 - 90) + " " +
                                 std::to_string(i) + " 0\n";
  }
  const ToolRun one = RunTool("", input);
  EXPECT_EQ(one.status, 1);
  ASSERT_EQ(one.out.size(), 20000u);
  EXPECT_EQ(one.out[6999],
            "error: expected 3 or 4 numbers (LAT LON ALT "
            "[YEAR]), found 1 field");
  EXPECT_EQ(one.out[7000].rfind("error", 0), std::string::npos);
  EXPECT_EQ(one.err,
            "norvane-field: line 7000: expected 3 or 4 numbers (LAT LON ALT "
            "[YEAR]), found 1 field\n"
            "norvane-field: line 14000: expected 3 or 4 numbers (LAT LON ALT "
            "[YEAR]), found 1 field\n");
}

// However many threads share the work, every byte written is the same:
// grids of the compiled-in model and of a file model beyond degree 12, on
// circles and above the sea point by point, lenient and strict, and input
// lines over several read blocks with bad and labelled lines.
TEST(NorvaneFieldTest, WritesTheSameBytesOnAnyNumberOfThreads) {
  const std::string file = TestFile(".cof");
  std::ofstream(file) << CoefficientFileText(SyntheticModel(20, 8, 2020.0, 26));
  std::string input;
  for (int i = 1; i <= 6000; ++i) {
    input += i % 1500 == 0
                 ? "bad # label\n"
                 : std::to_string(i % 180 - 90) + " " + std::to_string(i) +
                       " " + std::to_string(i % 900) + " #" +
                       std::to_string(i) + "\n";
  }
  const struct {
    std::string arguments, input;
  } runs[] = {
      {"--grid -90 90 2.5 -180 180 2.5 --rates --gv --year 2007", ""},
      {"--grid -90 90 4 -180 180 1.25 --alt 900 --year 2011 --digits 17", ""},
      {"--grid -90 90 4 -180 180 1.25 --year 2011 --strict", ""},
      {"--grid -90 90 5 -180 180 5 --rates --height msl --year 2007", ""},
      {"--grid -90 90 0.5 0 0 1 --model " + file + " --rates --year 2021", ""},
      {"--grid -89 89 3 -180 180 2 --model " + file + " --year 2030", ""},
      {"--model " + file + " --year 2021", input},
      {"--circle 40 0 2007 --rates", input},
      {"--strict", input},
  };
  for (const auto& run : runs) {
    const ToolRun one = RunTool("--threads 1 " + run.arguments, run.input);
    ASSERT_FALSE(one.out.empty()) << run.arguments;
    for (const char* threads : {"2", "7"}) {
      const ToolRun many = RunTool(
          "--threads " + std::string(threads) + " " + run.arguments, run.input);
      EXPECT_EQ(many.status, one.status) << run.arguments;
      EXPECT_EQ(many.out, one.out) << run.arguments;
      EXPECT_EQ(many.err, one.err) << run.arguments;
    }
  }
}

// Dates, degrees-minutes-seconds and hemisphere letters give the same point
// as its decimal form.
TEST(NorvaneFieldTest, ReadsDatesAndAngles) {
  const ToolRun run = RunTool("",
                              "40:00:00N 105W 0 2006-01-01\n"
                              "105d0'0\"W 40d0'0\"N 0 2006-01\n"
                              "40 -105 0 2006-13\n");
  EXPECT_EQ(run.out, (std::vector<std::string>{
                         kBoulder, kBoulder,
                         "error: YEAR '2006-13' is not a valid date"}));
  EXPECT_EQ(RunTool("--year 2006-01-01 40 -105 0").out,
            std::vector<std::string>{kBoulder});
}

// The rates of change, through the whole tool, against GeographicLib's
// derivatives of the same table and its derived elements' rates.
TEST(NorvaneFieldTest, RatesAgreeWithGeographicLib) {
  struct Point {
    double latitude, longitude, altitude, year;  // deg, deg, km, year
  };
  const Point points[] = {{40, -105, 0, 2006},   {-33.9, 18.4, 1.5, 2005},
                          {89.5, 10, 400, 2010}, {-60, 200, 100, 2007.25},
                          {0, 0, 35786, 2008.5}, {78.5, -104, -1, 2009}};
  std::string input;
  for (const Point& p : points) {
    input += std::to_string(p.latitude) + " " + std::to_string(p.longitude) +
             " " + std::to_string(p.altitude) + " " + std::to_string(p.year) +
             "\n";
  }
  const ToolRun run = RunTool("--rates --digits 17", input);
  ASSERT_EQ(run.out.size(), std::size(points));
  const ReferenceField reference;
  for (std::size_t i = 0; i < std::size(points); ++i) {
    SCOPED_TRACE(run.out[i]);
    const Point& p = points[i];
    const std::vector<double> ours = ReadNumbers(run.out[i]);
    ASSERT_EQ(ours.size(), 14u);
    double X, Y, Z, dX, dY, dZ;
    reference.EvaluateWithRates(p.altitude, Radians(p.latitude),
                                Radians(p.longitude), p.year, X, Y, Z, dX, dY,
                                dZ);
    double H, F, D, I, dH, dF, dD, dI;
    GeographicLib::MagneticModel::FieldComponents(Y, X, -Z, dY, dX, -dZ, H, F,
                                                  D, I, dH, dF, dD, dI);
    const double nTPerYear = 1e-9;
    const double degreesPerYear = 1e-12;
    EXPECT_NEAR(ours[7], dX, nTPerYear);
    EXPECT_NEAR(ours[8], dY, nTPerYear);
    EXPECT_NEAR(ours[9], dZ, nTPerYear);
    EXPECT_NEAR(ours[10], dF, nTPerYear);
    EXPECT_NEAR(ours[11], dH, nTPerYear);
    EXPECT_NEAR(ours[12], dD, degreesPerYear);
    EXPECT_NEAR(ours[13], dI, degreesPerYear);
  }
  // The field's columns do not change with the rates after them.
  EXPECT_EQ(RunTool("--rates 40 -105 0").out[0].substr(0, sizeof kBoulder),
            kBoulder + std::string(" "));
}

TEST(NorvaneFieldTest, CountsOrRefusesPointsOutsideTheModelsValidity) {
  const std::string input =
      "0 0 -1 2005.0 # edges are inside\n"
      "0 0 850 2010.0\n"
      "0 0 0 2004.99 # early\n"
      "0 0 -1.5 2010.01\n"
      "0 0 851\n";
  const ToolRun lenient = RunTool("", input);
  EXPECT_EQ(lenient.status, 0);
  ASSERT_EQ(lenient.out.size(), 5u);
  EXPECT_EQ(lenient.err,
            "norvane-field: 3 points lay outside the model's validity "
            "(2005.0 to 2010.0, -1 to 850 km): 1 before 2005.0, 1 after "
            "2010.0, 1 below -1 km, 1 above 850 km\n");

  const ToolRun strict = RunTool("--strict", input);
  EXPECT_EQ(strict.status, 1);
  const std::string outside =
      "error: the point lies outside the model's validity: ";
  EXPECT_EQ(strict.out[0], lenient.out[0]);
  EXPECT_EQ(strict.out[1], lenient.out[1]);
  EXPECT_EQ(strict.out[2], outside + "before 2005.0 # early");
  EXPECT_EQ(strict.out[3], outside + "after 2010.0, below -1 km");
  EXPECT_EQ(strict.out[4], outside + "above 850 km");
  EXPECT_EQ(strict.err.find("points lay"), std::string::npos);
  EXPECT_NE(strict.err.find("line 5: the point lies outside"),
            std::string::npos);
}

TEST(NorvaneFieldTest, ReadsAndWritesNamedFiles) {
  std::ofstream(TestFile(".points")) << "40 -105 0 # Boulder\n";
  const ToolRun named = RunTool("--input-file " + TestFile(".points") +
                                " --output-file " + TestFile(".results"));
  EXPECT_EQ(named.status, 0);
  EXPECT_TRUE(named.out.empty());
  EXPECT_EQ(Slurp(TestFile(".results")),
            kBoulder + std::string(" # Boulder\n"));
  EXPECT_EQ(RunTool("--input-file - --output-file -", "40 -105 0").out,
            std::vector<std::string>{kBoulder});

  const std::string missing = TestFile(".missing");
  const ToolRun unread = RunTool("--input-file " + missing, "40 -105 0\n");
  EXPECT_EQ(unread.status, 2);
  EXPECT_TRUE(unread.out.empty());
  EXPECT_EQ(unread.err, "norvane-field: cannot open input file '" + missing +
                            "': No such file or directory\n");
  const ToolRun unwritten =
      RunTool("--output-file " + missing + "/results", "40 -105 0\n");
  EXPECT_EQ(unwritten.status, 2);
  EXPECT_EQ(unwritten.err, "norvane-field: cannot write " + missing +
                               "/results: No such file or directory\n");
}

// The output replaces only its own file, and never the input, whatever name
// either goes by.
TEST(NorvaneFieldTest, OutputsReplaceOnlyTheirOwnFiles) {
  const std::string points = TestFile(".points");
  const std::string link = TestFile(".link");
  std::ofstream(points) << "40 -105 0\n";
  std::remove(link.c_str());
  ASSERT_EQ(::symlink(points.c_str(), link.c_str()), 0);
  for (const std::string& arguments :
       {"--input-file " + points + " --output-file " + points,
        "--input-file " + points + " --output-file " + link,
        // RunTool's standard input.
        "--input-file - --output-file " + TestFile(".in")}) {
    const ToolRun run = RunTool(arguments, "40 -105 0\n");
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("is the input file"), std::string::npos) << run.err;
    EXPECT_EQ(Slurp(TestFile(".in")), "40 -105 0\n");
    EXPECT_NE(run.err.find("Usage:"), std::string::npos) << arguments;
  }
  EXPECT_EQ(Slurp(points), "40 -105 0\n");

  // A link is followed, and the mode of the file replaced kept.
  const std::string results = TestFile(".results");
  std::ofstream(results) << "old";
  ::chmod(results.c_str(), 0600);
  std::remove(link.c_str());
  ASSERT_EQ(::symlink(results.c_str(), link.c_str()), 0);
  EXPECT_EQ(RunTool("--output-file " + link, "40 -105 0\n").status, 0);
  EXPECT_EQ(Slurp(results), kBoulder + std::string("\n"));
  struct stat info;
  ASSERT_EQ(::lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(::stat(results.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  // A device is written into, and its write error fails the run.
  const ToolRun full = RunTool("--output-file /dev/full", "40 -105 0\n");
  EXPECT_EQ(full.status, 1);
  EXPECT_NE(full.err.find("cannot write /dev/full: No space left on device"),
            std::string::npos)
      << full.err;
  ASSERT_EQ(::stat("/dev/full", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
}

// Along a circle the results are those of single points to within 1e-13 of
// F, labels and errors included.
TEST(NorvaneFieldTest, EvaluatesAlongACircleOfLatitude) {
  const ToolRun circle =
      RunTool("--circle 40:30N 0.25 2008-01 --digits 17 --rates",
              "-105\n# none\n255 # once round\nx\n"
              "79d58'56\"W\n");
  EXPECT_EQ(circle.status, 1);
  ASSERT_EQ(circle.out.size(), 5u);
  EXPECT_EQ(circle.out[1], "");
  EXPECT_EQ(circle.out[3], "error: LON 'x' is not a number or an angle");
  const ToolRun points = RunTool("--digits 17 --rates",
                                 "40.5 -105 0.25 2008\n"
                                 "40.5 -79.982222222222222 0.25 2008\n");
  const std::vector<double> west = ReadNumbers(points.out[0]);
  const std::vector<double> east = ReadNumbers(points.out[1]);
  for (const auto& [line, expected] :
       {std::pair{0, west}, std::pair{2, west}, std::pair{4, east}}) {
    const std::vector<double> got =
        ReadNumbers(circle.out[line].substr(0, circle.out[line].find(" #")));
    ASSERT_EQ(got.size(), 14u) << circle.out[line];
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_NEAR(got[i], expected[i], 1e-13 * expected[3]) << line << " " << i;
    }
  }
  EXPECT_NE(circle.out[2].find(" # once round"), std::string::npos);
}

// A model file of the compiled-in table gives the compiled-in results, but
// for the ellipsoid's b, rounded in the module's constants.
TEST(NorvaneFieldTest, EvaluatesAModelFile) {
  const std::string file = TestFile(".cof");
  std::ofstream(file) << CoefficientFileText(CompiledInCoefficients());
  const std::string points = "40 -105 0 2007\n-90 0 850 2009.5\n0 0 0 2006\n";
  const ToolRun loaded = RunTool("--digits 17 --rates --model " + file, points);
  const ToolRun compiled = RunTool("--digits 17 --rates", points);
  EXPECT_EQ(loaded.status, 0);
  ASSERT_EQ(loaded.out.size(), 3u);
  for (int line = 0; line < 3; ++line) {
    const std::vector<double> got = ReadNumbers(loaded.out[line]);
    const std::vector<double> expected = ReadNumbers(compiled.out[line]);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i)
      EXPECT_NEAR(got[i], expected[i], 1e-9 * expected[3]) << line << " " << i;
  }
}

TEST(NorvaneFieldTest, RefusesABadModelFileBeforeComputing) {
  const std::string file = TestFile(".cof");
  std::ofstream(file) << "2020.0 BAD 01/01/2020\n1 0 1 0 0 0\n1 1 1 1 x 0\n";
  const struct {
    std::string path, message;
  } cases[] = {{file, file + ":3: gdot 'x' is not a number"},
               {file + ".missing",
                file + ".missing: cannot open: No such file or directory"}};
  for (const auto& c : cases) {
    const ToolRun run = RunTool("--model " + c.path, "0 0 0\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(run.err, "norvane-field: " + c.message + "\n");
  }
}

// A file model is valid for five years from its epoch, and evaluated for
// the current date unless told otherwise.
TEST(NorvaneFieldTest, AFileModelHasItsOwnSpanAndDefaultYear) {
  const std::string file = TestFile(".cof");
  std::ofstream(file) << CoefficientFileText(SyntheticModel(3, 3, 2017.5, 4));
  const ToolRun late = RunTool("--model " + file + " 0 0 900 2023");
  EXPECT_EQ(late.err,
            "norvane-field: 1 point lay outside the model's validity (2017.5 "
            "to 2022.5, -1 to 850 km): 1 after 2022.5, 1 above 850 km\n");
  const ToolRun now = RunTool("--model " + file + " --year now 0 0 0");
  const ToolRun unset = RunTool("--model " + file + " 0 0 0");
  const ToolRun then = RunTool("--model " + file + " --year 2006 0 0 0");
  ASSERT_EQ(now.out.size(), 1u);
  ASSERT_EQ(unset.out.size(), 1u);
  const std::vector<double> a = ReadNumbers(now.out[0]);
  const std::vector<double> b = ReadNumbers(unset.out[0]);
  for (std::size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], b[i], 1e-3);
  EXPECT_NE(now.out, then.out);
}

// An SHC model of two intervals, and each interval as a coefficient file:
// the coefficients at its start and the slope to its end.
const char kShc[] =
    "# two intervals\n"
    "1 2 3 2 1 2000.0 2010.0\n"
    "2000.0 2005.0 2010.0\n"
    "1 0 -30000 -30100 -30300\n"
    "1 1 -2000 -1900 -1700\n"
    "1 -1 5000 4950 4900\n"
    "2 0 -2000 -2050 -2100\n"
    "2 1 3000 3010 3030\n"
    "2 -1 -2500 -2600 -2600\n"
    "2 2 1500 1550 1560\n"
    "2 -2 -500 -600 -650\n";
const char* const kIntervals[] = {
    "2000.0 FIRST 01/01/2000\n1 0 -30000 0 -20 0\n1 1 -2000 5000 20 -10\n"
    "2 0 -2000 0 -10 0\n2 1 3000 -2500 2 -20\n2 2 1500 -500 10 -20\n"
    "999999999999999999999999999999999999999999999999\n",
    "2005.0 SECOND 01/01/2005\n1 0 -30100 0 -40 0\n1 1 -1900 4950 40 -10\n"
    "2 0 -2050 0 -10 0\n2 1 3010 -2600 4 0\n2 2 1550 -600 2 -10\n"
    "999999999999999999999999999999999999999999999999\n"};

// Every line takes the interval that holds its own year, in every mode; an
// epoch takes the interval that starts there, the last epoch the last one.
TEST(NorvaneFieldTest, EvaluatesAnShcModelIntervalByInterval) {
  const std::string shc = TestFile(".shc");
  std::ofstream(shc) << kShc;
  std::string intervals[2];
  for (int i = 0; i < 2; ++i) {
    intervals[i] = TestFile(std::to_string(i) + ".cof");
    std::ofstream(intervals[i]) << kIntervals[i];
  }
  const struct {
    const char* point;
    int interval;
  } points[] = {{"10 20 0 2001.5", 0},
                {"-30 100 5 2005", 1},
                {"45 0 0 2010", 1},
                {"80 -60 300 2000", 0},
                {"0 0 0 2009.99", 1}};
  std::string input;
  for (const auto& p : points) input += std::string(p.point) + "\n";
  const ToolRun run = RunTool("--digits 17 --rates --gv --model " + shc, input);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  ASSERT_EQ(run.out.size(), std::size(points));
  for (std::size_t k = 0; k < std::size(points); ++k) {
    SCOPED_TRACE(points[k].point);
    const std::vector<double> got = ReadNumbers(run.out[k]);
    const std::vector<double> expected = ReadNumbers(
        RunTool("--digits 17 --rates --gv --model " +
                intervals[points[k].interval] + " -- " + points[k].point)
            .out.at(0));
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
      if (!std::isnan(expected[i])) {
        EXPECT_NEAR(got[i], expected[i], 1e-9 * expected[3]) << i;
      }
    }
  }
  const std::vector<double> point = ReadNumbers(
      RunTool("--digits 17 --rates --model " + shc + " 10 20 0 2007")
          .out.at(0));
  const std::vector<double> circle = ReadNumbers(
      RunTool("--digits 17 --rates --model " + shc + " --circle 10 0 2007",
              "20\n")
          .out.at(0));
  std::vector<double> grid =
      ReadNumbers(RunTool("--digits 17 --rates --model " + shc +
                          " --grid 10 10 1 20 20 1 --year 2007")
                      .out.at(0));
  grid.erase(grid.begin(), grid.begin() + 2);
  ASSERT_EQ(circle.size(), point.size());
  ASSERT_EQ(grid.size(), point.size());
  for (std::size_t i = 0; i < point.size(); ++i) {
    EXPECT_NEAR(circle[i], point[i], 1e-12 * point[3]) << i;
    EXPECT_NEAR(grid[i], point[i], 1e-12 * point[3]) << i;
  }
  const ToolRun outside =
      RunTool("--strict --model " + shc, "0 0 0 1999.9\n0 0 0 2010\n");
  EXPECT_EQ(outside.status, 1);
  EXPECT_EQ(outside.err,
            "norvane-field: line 1: the point lies outside the model's "
            "validity: before 2000.0\n");
}

TEST(NorvaneFieldTest, RefusesABadShcFileBeforeComputing) {
  const std::string file = TestFile(".shc");
  std::ofstream(file) << "1 2 3 6 1 2000.0 2010.0\n";
  const ToolRun run = RunTool("--model " + file, "0 0 0\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.out.empty());
  EXPECT_EQ(run.err, "norvane-field: " + file +
                         ":1: spline order 6 is not supported: only order 2 "
                         "(piecewise linear), or a single epoch\n");
}

// A grid's lines are those of its points, latitude by latitude, with grid
// variation last where a polar grid is defined.
TEST(NorvaneFieldTest, EvaluatesAGridWithGridVariation) {
  const ToolRun grid = RunTool(
      "--grid 50 60 5 -10 10 10 --alt 100 --year 2007 --rates --gv "
      "--digits 17");
  EXPECT_EQ(grid.status, 0);
  ASSERT_EQ(grid.out.size(), 9u);
  for (std::size_t i = 0; i < 9; ++i) {
    const std::vector<double> line = ReadNumbers(grid.out[i]);
    ASSERT_EQ(line.size(), 17u) << grid.out[i];
    EXPECT_EQ(line[0], 50.0 + 5.0 * static_cast<double>(i / 3));
    EXPECT_EQ(line[1], -10.0 + 10.0 * static_cast<double>(i % 3));
    const std::vector<double> point = ReadNumbers(
        RunTool("--rates --gv --digits 17 -- " +
                grid.out[i].substr(
                    0, grid.out[i].find(' ', grid.out[i].find(' ') + 1)) +
                " 100 2007")
            .out.at(0));
    for (std::size_t j = 0; j < point.size(); ++j) {
      if (std::isnan(point[j])) {
        EXPECT_TRUE(std::isnan(line[j + 2])) << i << " " << j;
      } else {
        EXPECT_NEAR(line[j + 2], point[j], 1e-12 * point[3]) << i << " " << j;
      }
    }
    EXPECT_EQ(std::isnan(line[16]), line[0] < 55);
  }
  for (const char* bad : {"--grid 0 1 0 0 1 1", "--grid 0 91 1 0 1 1",
                          "--grid 0 1 1 0 1", "--grid 0 1 1 0 1 x",
                          "--alt 5 40 -105 0", "--grid 0 1 1 0 1 1 0 0 0"}) {
    const ToolRun run = RunTool(bad);
    EXPECT_EQ(run.status, 2) << bad;
    EXPECT_TRUE(run.out.empty()) << bad;
  }
}

// The uncertainties at points where a dipole's H is known: 30000 nT
// (a/r)^3 on the equator, and the equatorial terms' (b/r)^3 sqrt(g11^2 +
// h11^2) at the pole.  WMM-2025's error model: sD = hypot(0.26, 5417 / H).
TEST(NorvaneFieldTest, GivesTheUncertaintyOfAModelThatHasOne) {
  const struct {
    const char* terms;  // rows (1, 0) and (1, 1)
    const char* point;
    double H;
    double sD;
  } cases[] = {
      {"1 0 -30000 0 0 0\n1 1 40 0 0 0", "0 0 0", 29902.220474, 0.316888},
      {"1 0 -30000 0 0 0\n1 1 40 0 0 0", "90 0 0", 40.273357, 134.506047},
      {"1 0 -30000 0 0 0\n1 1 0 20 0 0", "90 0 0", 20.136679, 180.0},
      {"1 0 -30000 0 0 0\n1 1 0 0 0 0", "-90 0 0", 0.0, 180.0},
  };
  for (const auto& c : cases) {
    const std::string file = TestFile(".cof");
    std::ofstream(file) << "2025.0 WMM-2025 11/13/2024\n"
                        << c.terms << "\n"
                        << kNines << "\n";
    const ToolRun run = RunTool(std::string("--model ") + file +
                                " --year 2025 --uncertainty -- " + c.point);
    EXPECT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(run.out.size(), 1u);
    const std::vector<double> line = ReadNumbers(run.out[0]);
    ASSERT_EQ(line.size(), 14u) << run.out[0];
    EXPECT_NEAR(line[4], c.H, 1e-3) << c.point;
    const std::vector<double> sigma(line.begin() + 7, line.end());
    EXPECT_EQ(sigma, (std::vector<double>{137, 89, 141, 138, 133, c.sD, 0.2}))
        << c.terms << " at " << c.point;
  }
}

// The uncertainties come last, labelled; a model without a published error
// model is refused before anything is computed.
TEST(NorvaneFieldTest, PlacesOrRefusesTheUncertainty) {
  const std::string file = TestFile(".cof");
  std::ofstream(file) << "2020.0 WMM-2020 12/10/2019\n1 0 -30000 0 0 0\n"
                         "1 1 -1500 4700 0 0\n"
                      << kNines << "\n";
  const ToolRun run = RunTool("--model " + file +
                              " --year 2020 --header --rates --gv "
                              "--uncertainty -- 80 0 0");
  ASSERT_EQ(run.out.size(), 2u);
  EXPECT_EQ(run.out[0].substr(run.out[0].find("GV_deg")),
            "GV_deg sX_nT sY_nT sZ_nT sF_nT sH_nT sD_deg sI_deg");
  const std::vector<double> line = ReadNumbers(run.out[1]);
  ASSERT_EQ(line.size(), 22u);
  EXPECT_EQ(line[15], 131.0);
  EXPECT_EQ(line[21], 0.21);

  for (const char* name : {"WMM-2010", "synthetic", "wmm-2025"}) {
    std::ofstream(file) << "2010.0 " << name << " 01/01/2010\n1 0 -30000 0 0 "
                        << "0\n1 1 0 0 0 0\n"
                        << kNines << "\n";
    const ToolRun refused = RunTool("--uncertainty --model " + file + " 0 0 0");
    EXPECT_EQ(refused.status, 2) << name;
    EXPECT_TRUE(refused.out.empty()) << name;
    EXPECT_EQ(refused.err, std::string("norvane-field: --uncertainty: the "
                                       "model ") +
                               name + " has no published error model\n");
  }
  const ToolRun compiledIn = RunTool("--uncertainty 0 0 0");
  EXPECT_EQ(compiledIn.status, 2);
  EXPECT_TRUE(compiledIn.out.empty());
}

// The poles of a tilted dipole with a quadrupole: the dip poles where the
// tool's own point evaluation finds H under 1 nT, the dipole's poles and
// moment as worked out by hand from g10 = -30000, g11 = -2000, h11 = 5000:
// B0 = 30479.5013 nT, latitude 90 - acos(30000 / B0), longitude
// atan2(-5000, 2000), moment 6371.2^3 B0 1e7.
TEST(NorvaneFieldTest, PrintsThePoles) {
  const std::string file = TestFile(".cof");
  std::ofstream(file) << "2025.0 TEST 01/01/2025\n1 0 -30000 0 0 0\n"
                         "1 1 -2000 5000 10 -20\n2 0 -2000 0 0 0\n"
                         "2 1 3000 -2500 0 0\n2 2 1500 -500 0 0\n"
                      << kNines << "\n";
  const ToolRun run = RunTool("--model " + file +
                              " --poles --year 2025 "
                              "--alt 100");
  EXPECT_EQ(run.status, 0) << run.err;
  ASSERT_EQ(run.out.size(), 5u);
  const char* const labels[] = {"north-dip", "south-dip"};
  for (int i = 0; i < 2; ++i) {
    std::istringstream line(run.out[i]);
    std::string year, label, latitude, longitude;
    line >> year >> label >> latitude >> longitude;
    EXPECT_EQ(year, "2025");
    EXPECT_EQ(label, labels[i]);
    const std::vector<double> at =
        ReadNumbers(RunTool("--model " + file + " --digits 17 -- " + latitude +
                            " " + longitude + " 100 2025")
                        .out.at(0));
    EXPECT_LT(at.at(4), 1.0) << run.out[i];
    EXPECT_EQ(at.at(2) > 0, i == 0) << run.out[i];
  }
  EXPECT_EQ(run.out[2], "2025 north-geomagnetic 79.823473 -68.198591");
  EXPECT_EQ(run.out[3], "2025 south-geomagnetic -79.823473 111.801409");
  EXPECT_EQ(run.out[4], "2025 dipole-moment 7.88264e+22");
}

// A range of years gives one set of lines a year, both ends included; a
// bad range, or one without --poles, is refused.
TEST(NorvaneFieldTest, PrintsThePolesOverARangeOfYears) {
  const std::string file = TestFile(".cof");
  std::ofstream(file) << "2025.0 TEST 01/01/2025\n1 0 -30000 0 10 0\n"
                         "1 1 -2000 5000 10 -20\n"
                      << kNines << "\n";
  const struct {
    const char* range;
    std::vector<std::string> years;
  } ranges[] = {{"1900:2030:10",
                 {"1900", "1910", "1920", "1930", "1940", "1950", "1960",
                  "1970", "1980", "1990", "2000", "2010", "2020", "2030"}},
                {"2025:2026:0.4", {"2025", "2025.4", "2025.8"}},
                {"2025:2026:0.1",
                 {"2025", "2025.1", "2025.2", "2025.3", "2025.4", "2025.5",
                  "2025.6", "2025.7", "2025.8", "2025.9", "2026"}},
                {"2025:2025:1", {"2025"}}};
  for (const auto& r : ranges) {
    const ToolRun run =
        RunTool("--model " + file + " --poles --year " + r.range);
    EXPECT_EQ(run.status, 0) << r.range << run.err;
    ASSERT_EQ(run.out.size(), 5 * r.years.size()) << r.range;
    for (std::size_t i = 0; i < run.out.size(); ++i) {
      EXPECT_EQ(run.out[i].substr(0, run.out[i].find(' ')), r.years[i / 5])
          << r.range;
    }
  }
  for (const char* bad :
       {"--poles --year 2030:2025:1", "--poles --year 2025:2030:0",
        "--poles --year 0:1e6:0.01", "--poles --year 2025:2030",
        "--poles --year 2025:x:1", "--poles --year 2025:2026:1:1",
        "--year 2020:2030:5 0 0 0", "--poles 0 0 0", "--poles --rates",
        "--poles --uncertainty", "--alt 10 0 0 0"}) {
    const ToolRun run = RunTool(bad);
    EXPECT_EQ(run.status, 2) << bad;
    EXPECT_TRUE(run.out.empty()) << bad;
  }
}

// The manual shows the help text as the tool prints it.
TEST(NorvaneFieldTest, ManualShowsTheHelp) {
  const ToolRun help = RunTool("--help");
  std::string text;
  for (const std::string& line : help.out) text += line + "\n";
  EXPECT_NE(Slurp(NORVANE_FIELD_MANUAL).find("```text\n" + text + "```"),
            std::string::npos)
      << "docs/norvane-field.md does not show this --help:\n"
      << text;
}

}  // namespace
}  // namespace norvane::tools
