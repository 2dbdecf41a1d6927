#include "sim/Options.hpp"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <ostream>
#include <string_view>

#include "sim/LifeCycle.hpp"
#include "sim/ModuleLoader.hpp"
#include "tools/common/Angles.hpp"

namespace norvane::sim {
namespace {

using tools::Radians;

// The whole text as one finite number, or a ValidationError naming the
// option.  from_chars takes no leading blanks or plus sign.
double Number(const std::string& option, const std::string& text) {
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [stop, status] = std::from_chars(text.data(), end, value);
  if (status != std::errc{} || stop != end || !std::isfinite(value)) {
    throw CLI::ValidationError(option, "'" + text + "' is not a finite number");
  }
  return value;
}

double InRange(const std::string& option, const std::string& text, double low,
               double high) {
  const double value = Number(option, text);
  if (value < low || value > high) {
    throw CLI::ValidationError(option, "'" + text + "' is outside [" +
                                           CLI::detail::to_string(low) + ", " +
                                           CLI::detail::to_string(high) + "]");
  }
  return value;
}

// One side of "WxH": a whole number of pixels that fits in 16 bits.
DWORD Side(std::string_view text, const std::string& whole) {
  unsigned long value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, status] = std::from_chars(text.data(), end, value);
  if (text.empty() || status != std::errc{} || stop != end || value < 1 ||
      value > kMaxSurfaceSide) {
    throw CLI::ValidationError("--size",
                               "'" + whole +
                                   "': width and height must be whole numbers "
                                   "from 1 to " +
                                   std::to_string(kMaxSurfaceSide));
  }
  return static_cast<DWORD>(value);
}

void ParseSize(const std::string& text, SimOptions& options) {
  const auto cross = text.find('x');
  if (cross == std::string::npos) {
    throw CLI::ValidationError("--size", "'" + text + "' is not WxH");
  }
  const std::string_view view(text);
  options.width = Side(view.substr(0, cross), text);
  options.height = Side(view.substr(cross + 1), text);
}

}  // namespace

std::optional<int> ParseOptions(int argc, const char* const* argv,
                                SimOptions& options, std::ostream& out,
                                std::ostream& err) {
  CLI::App app(
      "Stand-in host: loads the Norvane module, opens one display of it on a\n"
      "vessel, paints one page and unloads the module, checking that the\n"
      "module keeps to the plug-in contract.  "
      "Prints the page's text (UTF-8).\n"
      "Exits 1 when the module misbehaves, 2 for a bad command line.\n",
      "norvane-sim");
  std::string lat = CLI::detail::to_string(kDefaultLatitude);
  std::string lon = CLI::detail::to_string(kDefaultLongitude);
  std::string alt = CLI::detail::to_string(kDefaultAltitude);
  std::string rad;
  std::string heading = CLI::detail::to_string(kDefaultHeading);
  std::string size =
      std::to_string(kDefaultSide) + "x" + std::to_string(kDefaultSide);
  app.add_option("--lat", lat, "latitude, degrees north, -90 to 90")
      ->type_name("DEG")
      ->capture_default_str();
  app.add_option("--lon", lon, "longitude, degrees east, -180 to 180")
      ->type_name("DEG")
      ->capture_default_str();
  auto* altOption =
      app.add_option("--alt", alt,
                     "altitude, km above the equatorial radius " +
                         std::to_string(std::lround(kEquatorialRadius)) + " m")
          ->type_name("KM")
          ->capture_default_str();
  auto* radOption =
      app.add_option("--rad", rad,
                     "distance from the Earth's centre, m (instead of --alt)")
          ->type_name("M")
          ->excludes(altOption);
  app.add_option("--heading", heading, "true heading, degrees")
      ->type_name("DEG")
      ->capture_default_str();
  app.add_option("--size", size, "MFD surface, pixels, 1 to 65535 each")
      ->type_name("WxH")
      ->capture_default_str();
  app.add_option("--module", options.modulePath,
                 "the module's file (default: Norvane's beside this program)")
      ->type_name("PATH");
  app.add_option("--png", options.pngFile, "write the page as a PNG image")
      ->type_name("FILE");
  app.add_option("--svg", options.svgFile, "write the page as an SVG image")
      ->type_name("FILE");
  app.add_flag("--dump", options.dump,
               "list every drawing call (text X Y TEXT, line X0 Y0 X1 Y1 "
               "#RRGGBB) instead of the text only");

  try {
    app.parse(argc, argv);
    options.vessel.latitude = Radians(InRange("--lat", lat, -90.0, 90.0));
    options.vessel.longitude = Radians(InRange("--lon", lon, -180.0, 180.0));
    options.vessel.heading = Radians(Number("--heading", heading));
    const bool byRadius = radOption->count() != 0;
    options.vessel.radius =
        byRadius ? Number("--rad", rad)
                 : kEquatorialRadius + 1000.0 * Number("--alt", alt);
    if (!std::isfinite(options.vessel.radius) || options.vessel.radius <= 0) {
      throw CLI::ValidationError(
          byRadius ? "--rad" : "--alt",
          "the distance from the Earth's centre must be a positive, finite "
          "number of metres");
    }
    ParseSize(size, options);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return 0;
  } catch (const CLI::ParseError& error) {
    err << "norvane-sim: " << error.what() << "\n\n" << app.help();
    return 2;
  }
  return std::nullopt;
}

std::string ModuleToLoad(const SimOptions& options,
                         const std::string& defaultFile) {
  if (!options.modulePath.empty()) return options.modulePath;
  return ExecutableDirectory() + defaultFile;
}

}  // namespace norvane::sim
