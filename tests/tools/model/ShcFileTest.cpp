// The SHC reader: both ways of giving h, single epochs, the layout told
// apart from a coefficient file's, and one message per fault naming the
// file, the line and the fault.

#include "tools/model/ShcFile.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tools/model/ModelFile.hpp"

namespace norvane {
namespace {

// Degree 2, three epochs, h on second rows with the same m; CRLF endings.
const std::string kIgrfStyle =
    "# A test model\r\n"
    "# in nT\r\n"
    "1 2 3 2 1 2000.0 2010.0\r\n"
    "  2000.0 2005.0 2010.0\r\n"
    "1 0 -100 -110 -130\r\n"
    "1 1 10 20 30\r\n"
    "1 1 -5 -6 -7\r\n"
    "2 0 1 2 3\r\n"
    "2 1 4 5 6\r\n"
    "2 1 7 8 9\r\n"
    "2 2 10 11 12\r\n"
    "2 2 13 14 15\r\n";

// The same model with h on rows of negative m, in another order.
const std::string kNegativeOrders =
    "1 2 3 2 1 2000.0 2010.0\n"
    "2000.0 2005.0 2010.0\n"
    "1 0 -100 -110 -130\n"
    "1 -1 -5 -6 -7\n"
    "1 1 10 20 30\n"
    "2 2 10 11 12\n"
    "2 -2 13 14 15\n"
    "2 0 1 2 3\n"
    "2 1 4 5 6\n"
    "2 -1 7 8 9\n";

TEST(ShcFileTest, ReadsBothWaysOfGivingH) {
  for (const std::string& text : {kIgrfStyle, kNegativeOrders}) {
    const ShcModel model = ParseShc(text, "dir.d/TEST-7.shc");
    EXPECT_EQ(model.name, "TEST-7");
    ASSERT_EQ(model.epochs.size(), 3u);
    EXPECT_EQ(model.epochs[1].epoch, 2005.0);
    const Coefficients& last = model.epochs[2];
    EXPECT_EQ(last.degree, 2);
    ASSERT_EQ(last.rows.size(), 6u);
    EXPECT_EQ(last.rows[CoefficientIndex(1, 0)].g, -130.0);
    EXPECT_EQ(last.rows[CoefficientIndex(1, 1)].h, -7.0);
    EXPECT_EQ(last.rows[CoefficientIndex(2, 1)].g, 6.0);
    EXPECT_EQ(last.rows[CoefficientIndex(2, 1)].h, 9.0);
    EXPECT_EQ(last.rows[CoefficientIndex(2, 2)].h, 15.0);
    EXPECT_EQ(last.rows[CoefficientIndex(2, 2)].gDot, 0.0);
  }
}

TEST(ShcFileTest, ReadsSingleEpochsAndHigherLowestDegrees) {
  for (const char* order : {"1", "2"}) {
    const ShcModel model = ParseShc(std::string("2 2 1 ") + order +
                                        " 1 2015.5 2015.5\n2015.5\n"
                                        "2 0 1\n2 1 2\n2 -1 3\n2 2 4\n2 -2 5\n",
                                    "single");
    ASSERT_EQ(model.epochs.size(), 1u);
    EXPECT_EQ(model.epochs[0].epoch, 2015.5);
    EXPECT_EQ(model.epochs[0].rows[CoefficientIndex(1, 1)].g, 0.0);
    EXPECT_EQ(model.epochs[0].rows[CoefficientIndex(2, 2)].h, 5.0);
  }
}

TEST(ShcFileTest, TellsTheLayoutsApartByContent) {
  EXPECT_TRUE(IsShcText(kIgrfStyle));
  EXPECT_TRUE(IsShcText("\n \n" + kNegativeOrders));
  EXPECT_FALSE(IsShcText("2020.0 WMM-2020 12/10/2019\n1 0 1 0 0 0\n"));
  EXPECT_FALSE(IsShcText(""));
}

// The IGRF-style text with line `line` (1-based) replaced by `text`, which
// may be empty or several lines.
std::string WithLine(int line, const std::string& text) {
  std::string result;
  std::size_t start = 0;
  for (int i = 1; start < kIgrfStyle.size(); ++i) {
    const std::size_t end = kIgrfStyle.find('\n', start) + 1;
    result += i == line ? text : kIgrfStyle.substr(start, end - start);
    start = end;
  }
  return result;
}

TEST(ShcFileTest, NamesTheLineAndTheFault) {
  const struct {
    std::string text;
    const char* message;
  } kFaults[] = {
      {"", "f:1: no parameter line"},
      {"# only a comment\n\n", "f:2: no parameter line"},
      {WithLine(3, "1 2 3 2 1 2000.0\n"), "f:3: the parameter line must hold"},
      {WithLine(3, "0 2 3 2 1 2000 2010\n"),
       "f:3: the lowest degree '0' is not a whole number from 1 to 200"},
      {WithLine(3, "1 201 3 2 1 2000 2010\n"),
       "f:3: the highest degree '201' is not a whole number from 1 to 200"},
      {WithLine(3, "2 1 3 2 1 2000 2010\n"),
       "f:3: the highest degree '1' is not a whole number from 2 to 200"},
      {WithLine(3, "1 2 1001 2 1 2000 2010\n"),
       "f:3: the number of epochs '1001' is not a whole number from 1"},
      {WithLine(3, "1 2 3 6 1 2000 2010\n"),
       "f:3: spline order 6 is not supported: only order 2"},
      {WithLine(3, "1 2 3 1 1 2000 2010\n"), "f:3: spline order 1 is not"},
      {WithLine(3, "1 2 3 2 0 2000 2010\n"), "f:3: the step '0' is not"},
      {WithLine(3, "1 2 3 2 1 2000 nan\n"),
       "f:3: the last epoch 'nan' is not a year from 0 to 9999"},
      {WithLine(3, "1 200 1000 2 1 2000 2010\n"),
       "f:3: 1000 epochs of degree 200 are more than the 1048576"},
      {WithLine(4, ""), "f:4: expected the epoch line's 3 epochs, found 5"},
      {WithLine(4, "2000 2005 2005\n"),
       "f:4: the epoch '2005' does not follow the one before it"},
      {WithLine(4, "2000 2005 2011\n"),
       "f:4: the epochs run from '2000' to '2011', not from"},
      {WithLine(5, "1 0 -100 -110\n"),
       "f:5: expected a row 'n m' and 3 values, found 4 fields"},
      {WithLine(5, "1 0.0 -100 -110 -130\n"),
       "f:5: the degree and order '1' '0.0' are not whole numbers"},
      {WithLine(5, "3 0 -100 -110 -130\n"),
       "f:5: there is no term (3, 0) in degrees 1 to 2"},
      {WithLine(5, "1 -2 -100 -110 -130\n"), "f:5: there is no term (1, -2)"},
      {WithLine(5, "1 0 -100 1e999 -130\n"),
       "f:5: the value '1e999' is out of range"},
      {WithLine(8, "1 0 1 2 3\n"),
       "f:8: row (1, 0) gives g(1, 0) again, after line 5"},
      {WithLine(10, "2 1 7 8 9\n2 -1 7 8 9\n"),
       "f:11: row (2, -1) gives h(2, 1) again, after line 10"},
      {WithLine(12, "2 2 13 14 15\n2 2 1 1 1\n"),
       "f:13: row (2, 2) gives h(2, 2) again, after line 12"},
      {WithLine(7, ""), "f:11: no row gives h(1, 1)"},
      {WithLine(8, "\n"), "f:12: no row gives g(2, 0)"},
  };
  for (const auto& fault : kFaults) {
    SCOPED_TRACE(fault.text);
    try {
      ParseShc(fault.text, "f");
      ADD_FAILURE() << "read, but expected " << fault.message;
    } catch (const CoefficientFileError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(fault.message, 0), 0u) << e.what();
    }
  }
}

TEST(ShcFileTest, ModelFilesAreReadByContentWhateverTheirName) {
  const std::string path = testing::TempDir() + "/shc-model.cof";
  std::ofstream(path) << kIgrfStyle;
  const TimeVaryingModel model = ReadModelFile(path);
  EXPECT_EQ(model.name(), "shc-model");
  EXPECT_EQ(model.validity().from, 2000.0);
  EXPECT_EQ(model.validity().until, 2010.0);
  std::ofstream(path) << kNegativeOrders.substr(0, 35);
  try {
    ReadModelFile(path);
    ADD_FAILURE() << "a cut-short file read";
  } catch (const CoefficientFileError& e) {
    EXPECT_EQ(std::string(e.what()), path +
                                         ":2: expected the epoch line's 3 "
                                         "epochs, found 2 fields");
  }
}

}  // namespace
}  // namespace norvane
