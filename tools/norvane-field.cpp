/**
 * \file norvane-field.cpp
 * \brief Command-line front end of the WMM-2005 field model.
 *
 * norvane-field [options] [LAT LON ALT [YEAR]]
 *
 * Exit status: 0 when every point was valid, 1 when any input line was bad
 * or reading or writing failed, 2 for bad options or a file that cannot be
 * opened.
 */

#include <fcntl.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
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
    "standard input (or --input-file): LAT LON ALT [YEAR], separated by\n"
    "spaces or tabs.  LAT and LON in degrees (north and east positive; LAT\n"
    "in [-90, 90]) as decimals or as GeographicLib's DMS reads them\n"
    "(40d26'46\"N, 40:26:46N, 79.98W; a hemisphere letter may put LON\n"
    "first), ALT in km above the WGS-84 ellipsoid, YEAR decimal or a date\n"
    "yyyy-mm-dd or yyyy-mm.  '#' starts a comment, the point's label, which\n"
    "is copied to the end of its output line after ' #'; a blank or\n"
    "comment-only line gives an empty output line.  With --circle each line\n"
    "holds one LON.  Every input line gives exactly one output line; a bad\n"
    "line gives a line starting with 'error:' and a message on standard\n"
    "error, and the exit status is then 1.  WMM-2005 is valid from 2005.0\n"
    "to 2010.0 and from -1 to 850 km; points outside still get results, and\n"
    "a last line on standard error counts them (with --strict they are\n"
    "errors instead).\n";

// A check that `parse` accepts the text: nullptr or the reason it does not.
CLI::Validator Accepts(const char* name,
                       const char* (*parse)(std::string_view, double&)) {
  return CLI::Validator(
      [parse](std::string& text) -> std::string {
        double value;
        const char* problem = parse(text, value);
        return problem ? "'" + text + "' " + problem : std::string();
      },
      name);
}

// Opens --input-file, or standard input for "-"; -1 on failure.
int OpenInput(const std::string& path) {
  if (path == "-") return STDIN_FILENO;
  return ::open(path.c_str(), O_RDONLY);
}

// Opens --output-file, or standard output for "-"; nullptr on failure.
std::FILE* OpenOutput(const std::string& path) {
  if (path == "-") return stdout;
  return std::fopen(path.c_str(), "w");
}

}  // namespace

int main(int argc, char** argv) {
  norvane::tools::FieldToolOptions options;
  std::string year;
  std::vector<std::string> point;
  std::vector<std::string> circle;
  std::string inputPath = "-";
  std::string outputPath = "-";

  CLI::App app(kDescription, "norvane-field");
  app.footer(kFooter);
  app.add_option("--year", year,
                 "decimal year or date of points given without one "
                 "(default 2006.0)")
      ->check(Accepts("YEAR", norvane::tools::ParseYear));
  app.add_option("--digits", options.significantDigits,
                 "print N significant digits in every column; 17 reads back "
                 "to the same double (default: 3 decimals for nT, 6 for "
                 "angles)")
      ->type_name("N")
      ->check(CLI::Range(1, 17));
  app.add_flag("--radians", options.radians,
               "print D and I (and their rates) in radians");
  app.add_flag("--header", options.header,
               "print a line of column names before the results");
  app.add_flag("--rates", options.rates,
               "append the rates of change dX dY dZ dF dH (nT/year) and "
               "dD dI (degrees/year)");
  app.add_flag("--strict", options.strict,
               "make points outside the model's validity errors");
  auto* circleOption =
      app.add_option("--circle", circle,
                     "evaluate along the circle of latitude LAT at ALT km in "
                     "YEAR; each input line holds one LON")
          ->type_name("LAT ALT YEAR")
          ->expected(3);
  auto* inputOption =
      app.add_option("--input-file", inputPath,
                     "read points from FILE ('-' for standard input)")
          ->type_name("FILE");
  app.add_option("--output-file", outputPath,
                 "write results to FILE ('-' for standard output)")
      ->type_name("FILE");
  app.add_option("POINT", point,
                 "LAT LON ALT [YEAR] of a single point (degrees, degrees, "
                 "km, year)")
      ->type_name("VALUE")
      ->expected(3, 4)
      ->excludes(circleOption)
      ->excludes(inputOption);

  try {
    app.parse(argc, argv);
    if (!year.empty())
      norvane::tools::ParseYear(year, options.defaultYear);
    if (!circle.empty()) {
      const std::string_view fields[3] = {circle[0], circle[1], circle[2]};
      const norvane::tools::ParsedLine parsed =
          norvane::tools::ParseCircleFields(fields);
      if (parsed.kind != norvane::tools::LineKind::kPoint)
        throw CLI::ValidationError("--circle", parsed.error);
      options.circle = parsed.point;
    }
  } catch (const CLI::CallForHelp&) {
    std::fputs(app.help().c_str(), stdout);
    return 0;
  } catch (const CLI::ParseError& e) {
    std::fprintf(stderr, "norvane-field: %s\n\n%s", e.what(),
                 app.help().c_str());
    return kUsageError;
  }

  const int input = OpenInput(inputPath);
  if (input < 0) {
    std::fprintf(stderr, "norvane-field: cannot open input file '%s': %s\n",
                 inputPath.c_str(), std::strerror(errno));
    return kUsageError;
  }
  std::FILE* const output = OpenOutput(outputPath);
  if (output == nullptr) {
    std::fprintf(stderr, "norvane-field: cannot open output file '%s': %s\n",
                 outputPath.c_str(), std::strerror(errno));
    return kUsageError;
  }

  try {
    norvane::tools::FieldTool tool(options, output, stderr);
    if (point.empty()) {
      tool.RunStream(input);
    } else {
      tool.RunWords(std::vector<std::string_view>(point.begin(), point.end()));
    }
    const int status = tool.Finish();
    return output != stdout && std::fclose(output) != 0 ? 1 : status;
  } catch (const std::exception& e) {  // out of memory
    std::fprintf(stderr, "norvane-field: %s\n", e.what());
    return 1;
  }
}
