/**
 * \file norvane-field.cpp
 * \brief Command-line front end of the field model: the compiled-in
 *   WMM-2005 or any model from a coefficient file or an SHC file.
 *
 * norvane-field [options] [LAT LON ALT [YEAR]]
 *
 * Exit status: 0 when every point was valid, 1 when any input line was bad
 * or reading or writing failed, 2 for bad options, a file that cannot be
 * opened or a model file that cannot be read.
 */

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/common/CliChecks.hpp"
#include "tools/common/CurrentYear.hpp"
#include "tools/common/Geoid.hpp"
#include "tools/common/OutputFile.hpp"
#include "tools/common/YearRange.hpp"
#include "tools/field/FieldTool.hpp"
#include "tools/field/Grid.hpp"
#include "tools/field/PointParser.hpp"
#include "tools/field/PoleTool.hpp"
#include "tools/model/CoefficientFile.hpp"
#include "tools/model/ModelFile.hpp"
#include "tools/model/Uncertainty.hpp"

namespace {

constexpr int kUsageError = 2;

const char kDescription[] =
    "Evaluates a main geomagnetic field model at geodetic points: the\n"
    "compiled-in WMM-2005, or with --model any model in the standard\n"
    "coefficient file format (WMM.COF) or in the SHC format (IGRF and\n"
    "others, piecewise linear in time), of any degree up to 200.\n"
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
    "error, and the exit status is then 1.  A model is valid from its epoch\n"
    "to five years on (WMM-2005: 2005.0 to 2010.0), an SHC model from its\n"
    "first to its last epoch, and from -1 to 850 km; points outside still\n"
    "get results, and a last line on standard error counts them (with\n"
    "--strict they are errors instead).  Without --year, points without a\n"
    "year are for 2006.0 with the compiled-in model and for the current\n"
    "date (UTC) with --model.  A model file that cannot be read stops the\n"
    "run before anything is computed, with exit status 2.\n"
    "--poles prints 'YEAR LABEL LATITUDE LONGITUDE' for the labels\n"
    "north-dip, south-dip (where H is 0, at --alt), north-geomagnetic and\n"
    "south-geomagnetic (the centred dipole's), then 'YEAR dipole-moment\n"
    "A_M2'; --year FROM:TO:STEP gives one set per year, ends included.  A\n"
    "dip pole not found prints 'nan nan' and makes the exit status 1.\n"
    "With --height msl, ALT (and --alt, and the circle's ALT) is above mean\n"
    "sea level, the EGM96 geoid of PROJ's grid egm96_15.gtx (Debian's\n"
    "proj-data); the validity's heights stay above the ellipsoid.\n";

// --year: a year, a date, 'now', or with --poles FROM:TO:STEP.
CLI::Validator YearOrRange() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        double year;
        norvane::tools::YearRange range;
        const char* problem = text.find(':') == std::string::npos
                                  ? norvane::tools::ParseYearOrNow(text, year)
                                  : norvane::tools::ParseYearRange(text, range);
        return problem ? "'" + text + "' " + problem : std::string();
      },
      "YEAR");
}

// The six numbers of --grid, checked.
norvane::tools::PointGrid ParseGrid(const std::vector<std::string>& words) {
  static const char* const kNames[] = {"LAT0", "LAT1", "DLAT",
                                       "LON0", "LON1", "DLON"};
  double values[6];
  for (int i = 0; i < 6; ++i) {
    if (const char* problem =
            norvane::tools::ParseFiniteNumber(words[i], values[i]))
      throw CLI::ValidationError(
          "--grid", std::string(kNames[i]) + " '" + words[i] + "' " + problem);
  }
  const norvane::tools::PointGrid grid{values[0], values[1], values[2],
                                       values[3], values[4], values[5]};
  const std::string problem = norvane::tools::CheckGrid(grid);
  if (!problem.empty()) throw CLI::ValidationError("--grid", problem);
  return grid;
}

// Opens --input-file, or standard input for "-"; -1 on failure.
int OpenInput(const std::string& path) {
  if (path == "-") return STDIN_FILENO;
  return ::open(path.c_str(), O_RDONLY);
}

// Whether `output` would replace the file read through `input`.
bool ReplacesInput(const norvane::tools::OutputFile& output, int input) {
  struct stat read;
  return ::fstat(input, &read) == 0 && S_ISREG(read.st_mode) &&
         output.Replaces(read.st_dev, read.st_ino);
}

}  // namespace

int main(int argc, char** argv) {
  norvane::tools::FieldToolOptions options;
  std::string year;
  std::vector<std::string> point;
  std::vector<std::string> circle;
  std::vector<std::string> grid;
  std::string modelPath;
  std::optional<norvane::tools::PointGrid> gridValues;
  std::optional<norvane::tools::YearRange> years;
  std::string inputPath = "-";
  std::string outputPath = "-";

  CLI::App app(kDescription, "norvane-field");
  app.footer(kFooter);
  app.add_option("--model", modelPath,
                 "evaluate the model in FILE, a coefficient file (WMM.COF "
                 "format) or an SHC file, told apart by content, instead "
                 "of the compiled-in WMM-2005")
      ->type_name("FILE")
      ->check(norvane::tools::NonEmptyPath());
  app.add_option("--year", year,
                 "decimal year, date or 'now' of points given without one "
                 "(default: 2006.0, or now with --model); with --poles "
                 "also FROM:TO:STEP")
      ->check(YearOrRange());
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
  app.add_flag("--gv", options.gridVariation,
               "append grid variation GV (degrees) after the rates: "
               "D - LON at 55N and north, D + LON at 55S and south, in "
               "[-180, 180]; nan elsewhere");
  bool uncertainty = false;
  app.add_flag("--uncertainty", uncertainty,
               "append each element's uncertainty, one standard deviation by "
               "the model's published error model, as the last columns: sX "
               "sY sZ sF sH (nT), sD sI (degrees); sD grows as H weakens, up "
               "to 180");
  auto* circleOption =
      app.add_option("--circle", circle,
                     "evaluate along the circle of latitude LAT at ALT km in "
                     "YEAR; each input line holds one LON")
          ->type_name("LAT ALT YEAR")
          ->expected(3);
  auto* gridOption =
      app.add_option("--grid", grid,
                     "evaluate the grid LAT0..LAT1 by DLAT times LON0..LON1 "
                     "by DLON (degrees, ends included) at --alt and --year; "
                     "each line starts with LAT LON")
          ->type_name("LAT0 LAT1 DLAT LON0 LON1 DLON")
          ->expected(6)
          ->excludes(circleOption);
  auto* polesOption =
      app.add_flag("--poles",
                   "print the dip and geomagnetic poles and the dipole moment "
                   "for --year at --alt, instead of evaluating points");
  double gridAltitude = 0.0;
  auto* altOption =
      app.add_option("--alt", gridAltitude,
                     "altitude of the --grid points or the --poles, km "
                     "(default 0)")
          ->type_name("KM")
          ->check(
              norvane::tools::Accepts("", norvane::tools::ParseFiniteNumber));
  std::string height = "ellipsoid";
  app.add_option("--height", height,
                 "what ALT is measured from: 'ellipsoid' (WGS-84, the "
                 "default) or 'msl' (mean sea level, EGM96)")
      ->type_name("REF")
      ->check(
          norvane::tools::Accepts("REF", norvane::tools::ParseHeightReference));
  norvane::tools::AddThreadsOption(
      app, options.threads, "a grid's points or each input block's lines",
      "the output");
  auto* inputOption =
      app.add_option("--input-file", inputPath,
                     "read points from FILE ('-' for standard input)")
          ->type_name("FILE")
          ->check(norvane::tools::NonEmptyPath());
  app.add_option("--output-file", outputPath,
                 "write results to FILE ('-' for standard output); a "
                 "regular file is replaced only when the run is complete")
      ->type_name("FILE")
      ->check(norvane::tools::NonEmptyPath());
  app.add_option("POINT", point,
                 "LAT LON ALT [YEAR] of a single point (degrees, degrees, "
                 "km, year)")
      ->type_name("VALUE")
      ->expected(3, 4)
      ->excludes(circleOption)
      ->excludes(gridOption)
      ->excludes(inputOption);
  gridOption->excludes(inputOption);
  for (CLI::Option* other :
       {circleOption, gridOption, inputOption, app.get_option("POINT"),
        app.get_option("--rates"), app.get_option("--gv"),
        app.get_option("--uncertainty"), app.get_option("--strict")})
    polesOption->excludes(other);

  bool poles = false;
  try {
    app.parse(argc, argv);
    poles = polesOption->count() > 0;
    if (altOption->count() > 0 && grid.empty() && !poles)
      throw CLI::ValidationError("--alt", "needs --grid or --poles");
    if (year.find(':') != std::string::npos) {
      if (!poles)
        throw CLI::ValidationError("--year", "a range of years needs --poles");
      norvane::tools::ParseYearRange(year, years.emplace());
    } else if (!year.empty()) {
      norvane::tools::ParseYearOrNow(year, options.defaultYear);
    } else if (!modelPath.empty()) {
      options.defaultYear = norvane::tools::CurrentYear();
    }
    if (!grid.empty()) gridValues = ParseGrid(grid);
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

  std::optional<norvane::TimeVaryingModel> model;
  try {
    if (modelPath.empty()) {
      model.emplace();
    } else {
      model.emplace(norvane::ReadModelFile(modelPath));
    }
  } catch (const norvane::CoefficientFileError& e) {
    std::fprintf(stderr, "norvane-field: %s\n", e.what());
    return kUsageError;
  }
  if (uncertainty) {
    options.uncertainty = norvane::PublishedErrorModel(model->name());
    if (!options.uncertainty) {
      std::fprintf(stderr,
                   "norvane-field: --uncertainty: the model %s has no "
                   "published error model\n",
                   model->name().c_str());
      return kUsageError;
    }
  }

  std::optional<norvane::tools::Geoid> geoid;
  if (height == "msl") {
    try {
      options.geoid = &geoid.emplace();
    } catch (const norvane::tools::GeoidError& e) {
      std::fprintf(stderr, "norvane-field: %s\n", e.what());
      return kUsageError;
    }
  }

  const int input = OpenInput(inputPath);
  if (input < 0) {
    std::fprintf(stderr, "norvane-field: cannot open input file '%s': %s\n",
                 inputPath.c_str(), std::strerror(errno));
    return kUsageError;
  }
  // A regular file is written beside itself and replaces the old one only
  // once complete; a device, FIFO or standard output is written through.
  norvane::tools::OutputFile output(outputPath);
  if (!output.Ok()) {
    std::fprintf(stderr, "norvane-field: %s\n", output.Error().c_str());
    return kUsageError;
  }
  if (ReplacesInput(output, input)) {
    std::fprintf(stderr,
                 "norvane-field: --output-file: '%s' is the input file, "
                 "which the results would replace\n\n%s",
                 outputPath.c_str(), app.help().c_str());
    return kUsageError;
  }
  std::FILE* const stream = output.Descriptor() == STDOUT_FILENO
                                ? stdout
                                : ::fdopen(::dup(output.Descriptor()), "w");
  if (stream == nullptr) {
    std::fprintf(stderr, "norvane-field: cannot write %s: %s\n",
                 outputPath.c_str(), std::strerror(errno));
    return 1;
  }

  try {
    int status;
    if (poles) {
      const norvane::tools::YearRange range =
          years ? *years
                : norvane::tools::YearRange{options.defaultYear,
                                            options.defaultYear, 1.0};
      status = norvane::tools::WritePoles(*model, range, gridAltitude, stream,
                                          stderr);
    } else {
      norvane::tools::FieldTool tool(*model, options, stream, stderr);
      if (gridValues) {
        tool.RunGrid(*gridValues, gridAltitude, options.defaultYear);
      } else if (point.empty()) {
        tool.RunStream(input);
      } else {
        tool.RunWords(
            std::vector<std::string_view>(point.begin(), point.end()));
      }
      status = tool.Finish();
    }
    const bool unwritten = std::ferror(stream) != 0;
    if (stream != stdout && (std::fclose(stream) != 0 || unwritten)) {
      output.Fail(std::strerror(errno));
    }
    if (const norvane::tools::OutputFile* failed =
            norvane::tools::PlaceAll({&output})) {
      std::fprintf(stderr, "norvane-field: %s\n", failed->Error().c_str());
      return 1;
    }
    return status;
  } catch (const std::exception& e) {  // out of memory
    std::fprintf(stderr, "norvane-field: %s\n", e.what());
    return 1;
  }
}
