/**
 * \file norvane-field.cpp
 * \brief Command-line front end of the WMM-2005 field model.
 *
 * norvane-field [options] [LAT LON ALT [YEAR]]
 *
 * Exit status: 0 when every point was valid, 1 when any input line was bad
 * or reading or writing failed, 2 for bad options.
 */

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "tools/FieldTool.hpp"
#include "tools/PointParser.hpp"

namespace {

constexpr int kUsageError = 2;

const char kDescription[] =
    "Evaluates the WMM-2005 main geomagnetic field at geodetic points.\n"
    "Prints X Y Z F H in nT (north, east, down, total, horizontal), then\n"
    "declination D and inclination I in degrees.";

const char kFooter[] =
    "Without a point on the command line, reads one point per line from\n"
    "standard input: LAT LON ALT [YEAR], separated by spaces or tabs.\n"
    "LAT and LON in degrees (north and east positive; LAT in [-90, 90]),\n"
    "ALT in km above the WGS-84 ellipsoid, YEAR decimal.  '#' starts a\n"
    "comment; a blank or comment-only line gives an empty output line.\n"
    "Every input line gives exactly one output line; a bad line gives a\n"
    "line starting with 'error:' and a message on standard error, and the\n"
    "exit status is then 1.";

// Accepts a finite number in the same syntax as the input columns.
class FiniteNumber : public CLI::Validator {
 public:
  FiniteNumber() : CLI::Validator("NUMBER") {
    func_ = [](const std::string& text) -> std::string {
      double value;
      const char* problem = norvane::tools::ParseFiniteNumber(text, value);
      return problem ? "'" + text + "' " + problem : std::string();
    };
  }
};

}  // namespace

int main(int argc, char** argv) {
  norvane::tools::FieldToolOptions options;
  std::string year;
  std::vector<std::string> point;

  CLI::App app(kDescription, "norvane-field");
  app.footer(kFooter);
  app.add_option("--year", year,
                 "decimal year of points given without one (default 2006.0)")
      ->check(FiniteNumber());
  app.add_option("--digits", options.significantDigits,
                 "print N significant digits in every column; 17 reads back "
                 "to the same double (default: 3 decimals for nT, 6 for "
                 "angles)")
      ->type_name("N")
      ->check(CLI::Range(1, 17));
  app.add_flag("--radians", options.radians, "print D and I in radians");
  app.add_flag("--header", options.header,
               "print a line of column names before the results");
  app.add_option("POINT", point,
                 "LAT LON ALT [YEAR] of a single point (degrees, degrees, "
                 "km, decimal year)")
      ->type_name("NUMBER")
      ->expected(3, 4);

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    return 0;
  } catch (const CLI::ParseError& e) {
    std::fprintf(stderr, "norvane-field: %s\n\n%s", e.what(),
                 app.help().c_str());
    return kUsageError;
  }
  if (!year.empty())
    norvane::tools::ParseFiniteNumber(year, options.defaultYear);

  try {
    norvane::tools::FieldTool tool(options, stdout, stderr);
    if (point.empty()) {
      tool.RunStream(STDIN_FILENO);
    } else {
      tool.RunWords(std::vector<std::string_view>(point.begin(), point.end()));
    }
    return tool.Finish();
  } catch (const std::exception& e) {  // out of memory
    std::fprintf(stderr, "norvane-field: %s\n", e.what());
    return 1;
  }
}
