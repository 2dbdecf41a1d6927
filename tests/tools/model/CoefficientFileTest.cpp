// The coefficient-file reader: what it reads, and one message per fault,
// naming the file, the line and the fault.

#include "tools/model/CoefficientFile.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "testsupport/SyntheticModel.hpp"

namespace norvane {
namespace {

// A degree-2 file in the layout NOAA prints, with its two lines of nines.
const std::string kHeader = "    2020.0            TEST-2020     12/10/2019\n";
const std::string kRows =
    "  1  0  -29500.0       0.0        8.0        0.0\n"
    "  1  1   -1500.0    4600.0        9.0      -20.0\n"
    "  2  0   -2450.0       0.0     -11.25        0.0\n"
    "  2  1    3000.0   -3000.0       -6.0      -25.0\n"
    "  2  2    1650.0    -700.0       -3.0      -23.5\n";
const std::string kNines =
    "999999999999999999999999999999999999999999999999\n"
    "999999999999999999999999999999999999999999999999\n";

TEST(CoefficientFileTest, ReadsTheStandardLayout) {
  for (const std::string& text :
       {kHeader + kRows + kNines, kHeader + kRows + kNines + "\n\n",
        "\xEF\xBB\xBF" + kHeader + kRows + kNines.substr(0, 11)}) {
    const Coefficients c = ParseCoefficients(text, "f");
    EXPECT_EQ(c.name, "TEST-2020");
    EXPECT_EQ(c.releaseDate, "12/10/2019");
    EXPECT_EQ(c.epoch, 2020.0);
    ASSERT_EQ(c.degree, 2);
    ASSERT_EQ(c.rows.size(), 6u);
    EXPECT_EQ(c.rows[CoefficientIndex(1, 1)].h, 4600.0);
    EXPECT_EQ(c.rows[CoefficientIndex(2, 2)].hDot, -23.5);
    EXPECT_EQ(c.rows[CoefficientIndex(2, 0)].gDot, -11.25);
  }
}

TEST(CoefficientFileTest, ReadsCarriageReturnsAndWritesBackExactly) {
  const Coefficients model = SyntheticModel(20, 10, 2025.0, 5);
  std::string crlf;
  for (const char c : CoefficientFileText(model)) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  const Coefficients read = ParseCoefficients(crlf, "f");
  ASSERT_EQ(read.degree, 20);
  ASSERT_EQ(read.rows.size(), model.rows.size());
  for (std::size_t i = 1; i < read.rows.size(); ++i) {
    EXPECT_EQ(read.rows[i].g, model.rows[i].g);
    EXPECT_EQ(read.rows[i].hDot, model.rows[i].hDot);
  }
}

// Replaces line `line` (1-based) of the degree-2 file.
std::string WithLine(int line, const std::string& text) {
  std::string file = kHeader + kRows + kNines;
  std::size_t start = 0;
  for (int i = 1; i < line; ++i) start = file.find('\n', start) + 1;
  return file.replace(start, file.find('\n', start) - start, text);
}

struct FaultCase {
  std::string text;
  std::string message;
};

template <std::size_t N>
void ExpectRefused(const FaultCase (&cases)[N]) {
  for (const auto& c : cases) {
    try {
      ParseCoefficients(c.text, "f");
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const CoefficientFileError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
}

TEST(CoefficientFileTest, NamesTheFileTheLineAndTheFault) {
  const FaultCase cases[] = {
      {"", "f:1: the file is empty"},
      {WithLine(1, "2020.0 TEST-2020"),
       "f:1: the header must hold the epoch, the model's name and its "
       "release date (MM/DD/YYYY)"},
      {WithLine(1, "20x0 TEST 12/10/2019"),
       "f:1: the epoch '20x0' is not a year from 0 to 9999"},
      {WithLine(1, "2020 TEST 2019-12-10"),
       "f:1: the release date '2019-12-10' is not MM/DD/YYYY"},
      {kHeader, "f:1: no coefficient rows"},
      {kHeader + kNines, "f:2: no coefficient rows"},
      {WithLine(3, "1 1 1 2 3"),
       "f:3: expected a row 'n m g h gdot hdot' of 6 fields, found 5"},
      {WithLine(3, "1 1 1 2 3 4 5"),
       "f:3: expected a row 'n m g h gdot hdot' of 6 fields, found more"},
      {WithLine(3, "1 x 1 2 3 4"),
       "f:3: the degree and order '1' 'x' are not whole numbers"},
      {WithLine(3, "1 2 1 2 3 4"), "f:3: there is no term (1, 2)"},
      {WithLine(3, "1 0 1 0 3 0"), "f:3: row (1, 0) repeats an earlier row"},
      {WithLine(3, "2 0 1 0 3 0"), "f:3: row (1, 1) is missing (found (2, 0))"},
      {WithLine(4, "2 0 1e999 0 1 0"),
       "f:4: g '1e999' is out of range (too large or too small for a double)"},
      {WithLine(4, "2 0 1e-400 0 1 0"),
       "f:4: g '1e-400' is out of range (too large or too small for a double)"},
      {WithLine(4, "2 0 1 0 nan 0"), "f:4: gdot 'nan' is not finite"},
      {WithLine(4, "2 0 +-1 0 1 0"), "f:4: g '+-1' is not a number"},
      {WithLine(4, "+-2 0 1 0 1 0"),
       "f:4: the degree and order '+-2' '0' are not whole numbers"},
      {WithLine(4, "2 0 1 0\x01 1 0"), "f:4: h '0\\x01' is not a number"},
      {WithLine(1, "2020 T\xC3\x28 12/10/2019"),
       "f:1: the model's name 'T\\xC3(' is not valid UTF-8"},
      {WithLine(1, "2020 \xED\xA0\x80 12/10/2019"),
       "f:1: the model's name '\\xED\\xA0\\x80' is not valid UTF-8"},
      {WithLine(4, "2 0 1 0 1 0.5"),
       "f:4: row (2, 0) has an h term, but order 0 has none"},
      {WithLine(6, kNines.substr(0, 48)),
       "f:6: degree 2 ends early: row (2, 2) is missing"},
      {kHeader + kRows + kNines + "2 0 1 0 1 0\n",
       "f:9: text after the line of nines that ends the rows"},
      {kHeader + "201 0 1 0 1 0\n",
       "f:2: degree 201 is over the supported 200"},
  };
  ExpectRefused(cases);
}

// A file cut short is never read as a smaller model: wherever it stops
// before its line of nines, the line where it stopped is named.
TEST(CoefficientFileTest, RefusesAFileCutShort) {
  const std::string whole = kHeader + kRows;  // lines 2 to 6 are rows
  const std::size_t row9 = whole.find("  2  2");
  const FaultCase cases[] = {
      {whole,
       "f:6: the file ends after degree 2 without the line of nines that ends "
       "the rows: is it cut short?"},
      {whole + "\n\n",
       "f:6: the file ends after degree 2 without the line of nines that ends "
       "the rows: is it cut short?"},
      {whole.substr(0, whole.find("  2  0")),
       "f:3: the file ends after degree 1 without the line of nines that ends "
       "the rows: is it cut short?"},
      {whole.substr(0, row9 + 3),
       "f:6: expected a row 'n m g h gdot hdot' of 6 fields, found 1"},
      {whole.substr(0, row9) + "  9\n",
       "f:6: expected a row 'n m g h gdot hdot' of 6 fields, found 1"},
      {whole.substr(0, row9) + "999999999\n",
       "f:6: expected a row 'n m g h gdot hdot' of 6 fields, found 1"},
      {whole.substr(0, whole.find("  2  1")),
       "f:4: degree 2 ends early: row (2, 1) is missing"},
  };
  ExpectRefused(cases);
}

TEST(CoefficientFileTest, SaysWhyAFileCannotBeRead) {
  const std::string directory = testing::TempDir();
  try {
    ReadCoefficientFile(directory);
    ADD_FAILURE() << "read a directory";
  } catch (const CoefficientFileError& e) {
    EXPECT_EQ(std::string(e.what()),
              directory + ": cannot read: Is a directory");
  }
}

TEST(CoefficientFileTest, ReadsFilesAndRefusesMissingOnes) {
  const std::string path = testing::TempDir() + "coefficient_file_test.cof";
  std::ofstream(path) << kHeader << kRows << kNines;
  EXPECT_EQ(ReadCoefficientFile(path).degree, 2);
  std::remove(path.c_str());
  try {
    ReadCoefficientFile(path);
    ADD_FAILURE() << "read a missing file";
  } catch (const CoefficientFileError& e) {
    EXPECT_EQ(std::string(e.what()),
              path + ": cannot open: No such file or directory");
  }
}

}  // namespace
}  // namespace norvane
