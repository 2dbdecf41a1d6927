// Runs the norvane-field executable with input on its standard input.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/FieldModel.hpp"
#include "tests/tools/ReadNumbers.hpp"
#include "tools/Angles.hpp"

namespace norvane::tools {
namespace {

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
  const std::string base =
      testing::TempDir() +
      testing::UnitTest::GetInstance()->current_test_info()->name();
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
      kNorthPole,
      "error: the field is not finite at this point and year",
      "error: LAT '4\\x00' is not a number",
      "error: line is longer than 65536 bytes",
      "error: expected 3 or 4 numbers (LAT LON ALT [YEAR]), found 2 fields"};
  EXPECT_EQ(run.out, expected);
  EXPECT_NE(run.err.find("line 4: LAT '91' is outside"), std::string::npos);
  EXPECT_NE(run.err.find("line 9: expected 3 or 4"), std::string::npos);
}

TEST(NorvaneFieldTest, RejectsBadOptionsWithUsage) {
  for (const char* arguments :
       {"--digits 0", "--digits 18", "--digits x", "--year nan", "--year 2006x",
        "--bogus", "40 -105", "1 2 3 4 5"}) {
    const ToolRun run = RunTool(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("Usage:"), std::string::npos) << arguments;
    EXPECT_TRUE(run.out.empty()) << arguments;
  }
  EXPECT_EQ(RunTool("--help").status, 0);
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
  EXPECT_EQ(one.out[6999], "error: expected 3 or 4 numbers (LAT LON ALT "
                           "[YEAR]), found 1 field");
  EXPECT_EQ(one.out[7000].rfind("error", 0), std::string::npos);
  EXPECT_EQ(one.err,
            "norvane-field: line 7000: expected 3 or 4 numbers (LAT LON ALT "
            "[YEAR]), found 1 field\n"
            "norvane-field: line 14000: expected 3 or 4 numbers (LAT LON ALT "
            "[YEAR]), found 1 field\n");
}

}  // namespace
}  // namespace norvane::tools
