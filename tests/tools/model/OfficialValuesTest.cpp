// Every row of the official test-value tables, from the official model
// files, within the tables' printed rounding, but for the deviations of
// NOAA's own values that the WMM data directory's README lists.  Prints the
// worst deviation per table and column.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/model/CoefficientFile.hpp"
#include "tools/model/LoadedModel.hpp"
#include "tools/model/ModelFile.hpp"
#include "tools/common/Angles.hpp"
#include "tools/field/Grid.hpp"

namespace norvane {
namespace {

using tools::Degrees;
using tools::Radians;

// Empty where the build has no such directory.
const std::string kDataDir = NORVANE_WMM_DATA_DIR;
const std::string kIgrfDir = NORVANE_IGRF_DATA_DIR;

struct Table {
  const char* values;  // the table's file
  const char* model;   // the coefficient file it was computed from
  // The README's residual of NOAA's computation in 6-decimal tables, nT and
  // nT/year: X, H and F; then Z and the rates Hdot, Xdot and Fdot.
  double intensityResidual;
  double rateResidual;
};

const Table kTables[] = {
    {"WMM2010_TEST_VALUES.txt", "WMM2010.COF", 0, 0},
    {"WMM2015_TEST_VALUES.txt", "WMM2015.COF", 0, 0},
    {"WMM2015v2_TEST_VALUES.txt", "WMM2015v2.COF", 0, 0},
    {"WMM2020_PDF_TEST_VALUES.txt", "WMM2020.COF", 0, 0},
    {"WMM2020_TEST_VALUES.txt", "WMM2020.COF", 0, 0},
    {"WMM2025_TEST_VALUES.txt", "WMM2025.COF", 7.2e-4, 2e-6},
    {"WMMHR2025_TEST_VALUES.txt", "WMMHR2025.COF", 7.2e-4, 2e-6},
};

// NOAA's errata, which the README lists: table, column, and the row's
// date, height, latitude and longitude.
struct Erratum {
  const char* table;
  const char* column;
  double date, height, lat, lon;
};
const Erratum kErrata[] = {
    {"WMM2020_PDF_TEST_VALUES.txt", "GV", 2022.5, 100, -80, 240},
    {"WMM2020_PDF_TEST_VALUES.txt", "Idot", 2020.0, 0, 0, 120},
    {"WMM2020_PDF_TEST_VALUES.txt", "Idot", 2022.5, 0, 0, 120},
    {"WMM2020_PDF_TEST_VALUES.txt", "Ddot", 2020.0, 0, -80, 240},
};

bool IsErratum(const std::string& table, const std::string& column,
               const double (&where)[4]) {
  for (const Erratum& e : kErrata) {
    if (table == e.table && column == e.column && where[0] == e.date &&
        where[1] == e.height && where[2] == e.lat && where[3] == e.lon)
      return true;
  }
  return false;
}

// Half a unit in the last printed decimal of `text`.
double HalfLastDigit(const std::string& text) {
  const std::size_t point = text.find('.');
  const int decimals = point == std::string::npos
                           ? 0
                           : static_cast<int>(text.size() - point - 1);
  return 0.5 * std::pow(10.0, -decimals);
}

// Our value of a column, in the column's unit.
double Ours(const std::string& name, const std::string& unit,
            const FieldAndRates& r, const double (&where)[4]) {
  const FieldElements& f = r.field;
  const FieldElements& d = r.rates;
  const double anglePerYear = unit == "arcmin/yr" ? 60.0 : 1.0;
  const std::map<std::string, double> values = {
      {"D", Degrees(f.D)},
      {"I", Degrees(f.I)},
      {"H", f.H},
      {"X", f.X},
      {"Y", f.Y},
      {"Z", f.Z},
      {"F", f.F},
      {"GV", tools::GridVariation(Degrees(f.D), where[2], where[3])},
      {"Ddot", anglePerYear * Degrees(d.D)},
      {"Idot", anglePerYear * Degrees(d.I)},
      {"Hdot", d.H},
      {"Xdot", d.X},
      {"Ydot", d.Y},
      {"Zdot", d.Z},
      {"Fdot", d.F}};
  return values.at(name);
}

TEST(OfficialValuesTest, ReproducesEveryTable) {
  if (kDataDir.empty()) GTEST_SKIP() << "no WMM data directory";
  for (const Table& table : kTables) {
    SCOPED_TRACE(table.values);
    const LoadedModel model(ReadCoefficientFile(kDataDir + "/" + table.model));
    std::ifstream in(kDataDir + "/" + table.values);
    ASSERT_TRUE(in) << "cannot read " << table.values;
    std::string line;
    std::getline(in, line);
    // "Name[unit]" per column.
    std::vector<std::string> names, units;
    std::istringstream header(line);
    for (std::string column; header >> column;) {
      const std::size_t bracket = column.find('[');
      names.push_back(column.substr(0, bracket));
      units.push_back(column.substr(bracket + 1, column.size() - bracket - 2));
    }
    std::map<std::string, double> worst;  // column: largest |ours - NOAA's|
    int rows = 0;
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      std::vector<std::string> texts;
      for (std::string text; fields >> text;) texts.push_back(text);
      ASSERT_EQ(texts.size(), names.size()) << line;
      double where[4];
      for (int i = 0; i < 4; ++i) where[i] = std::stod(texts[i]);
      const FieldAndRates r = model.Evaluate(where[1], Radians(where[2]),
                                             Radians(where[3]), where[0], true);
      ++rows;
      for (std::size_t i = 4; i < names.size(); ++i) {
        const std::string& name = names[i];
        const double noaa = std::stod(texts[i]);
        double ours = Ours(name, units[i], r, where);
        if (name == "GV") {
          if (noaa == -999.0) {  // not defined at this latitude
            EXPECT_TRUE(std::isnan(ours)) << line;
            continue;
          }
          ours = noaa + std::remainder(ours - noaa, 360.0);
        }
        const double difference = std::fabs(ours - noaa);
        if (IsErratum(table.values, name, where)) continue;
        worst[name] = std::max(worst[name], difference);
        double allowed = HalfLastDigit(texts[i]);
        if (name == "X" || name == "H" || name == "F")
          allowed += table.intensityResidual;
        if (name == "Z" || name == "Hdot" || name == "Xdot" || name == "Fdot")
          allowed += table.rateResidual;
        EXPECT_LE(difference, allowed * (1 + 1e-9))
            << name << " at " << where[0] << " " << where[1] << " " << where[2]
            << " " << where[3] << ": ours " << ours << ", NOAA's " << texts[i];
      }
    }
    EXPECT_GT(rows, 0);
    std::cout << table.values << " (" << rows << " rows), worst |ours - "
              << "NOAA's|:";
    for (std::size_t i = 4; i < names.size(); ++i)
      std::cout << " " << names[i] << " " << worst[names[i]];
    std::cout << "\n";
  }
}

// The IGRF table: comment lines, then rows of the date, height, latitude
// and longitude and these columns (D and I in degrees, their rates in
// arc-minutes a year).
const char* const kIgrfColumns[] = {"D",    "I",    "H",    "F",    "X",
                                    "Y",    "Z",    "Ddot", "Idot", "Hdot",
                                    "Fdot", "Xdot", "Ydot", "Zdot"};

TEST(OfficialValuesTest, ReproducesTheIgrfTable) {
  if (kIgrfDir.empty()) GTEST_SKIP() << "no IGRF data directory";
  const TimeVaryingModel model = ReadModelFile(kIgrfDir + "/IGRF14.SHC");
  std::ifstream in(kIgrfDir + "/IGRF14_TEST_VALUES.txt");
  ASSERT_TRUE(in) << "cannot read the IGRF test values";
  std::map<std::string, double> worst;  // column: largest |ours - NOAA's|
  int rows = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::vector<std::string> texts;
    for (std::string text; fields >> text;) texts.push_back(text);
    ASSERT_EQ(texts.size(), 4 + std::size(kIgrfColumns)) << line;
    double where[4];
    for (int i = 0; i < 4; ++i) where[i] = std::stod(texts[i]);
    const FieldAndRates r = model.Evaluate(where[1], Radians(where[2]),
                                           Radians(where[3]), where[0], true);
    ++rows;
    for (std::size_t i = 0; i < std::size(kIgrfColumns); ++i) {
      const std::string name = kIgrfColumns[i];
      const std::string& text = texts[4 + i];
      const double difference =
          std::fabs(Ours(name, "arcmin/yr", r, where) - std::stod(text));
      worst[name] = std::max(worst[name], difference);
      EXPECT_LE(difference, HalfLastDigit(text) * (1 + 1e-9))
          << name << " at " << where[0] << " " << where[1] << " " << where[2]
          << " " << where[3] << ": ours " << Ours(name, "arcmin/yr", r, where)
          << ", NOAA's " << text;
    }
  }
  EXPECT_EQ(rows, 16);
  std::cout << "IGRF14_TEST_VALUES.txt (" << rows << " rows), worst |ours - "
            << "NOAA's|:";
  for (const char* name : kIgrfColumns)
    std::cout << " " << name << " " << worst[name];
  std::cout << "\n";
}

}  // namespace
}  // namespace norvane
