#pragma once
/**
 * \file Options.hpp
 * \brief The stand-in host's command line: the vessel, the surface and where
 *   the page goes.
 */

#include <iosfwd>
#include <optional>
#include <string>

#include "model/Wgs84.hpp"
#include "sim/StandInHost.hpp"

namespace norvane::sim {

/// The vessel and surface when the command line says nothing: on the ground
/// at 28.6° N 80.6° W, on the equatorial radius, heading east, 256 × 256.
constexpr double kDefaultLatitude = 28.6;    ///< degrees
constexpr double kDefaultLongitude = -80.6;  ///< degrees
constexpr double kDefaultAltitude = 0.0;     ///< km above the equatorial radius
constexpr double kDefaultHeading = 90.0;     ///< degrees
constexpr DWORD kDefaultSide = 256;          ///< pixels

/// Radius the altitude is measured from: the equatorial radius, metres.
constexpr double kEquatorialRadius = wgs84::a * 1000.0;

/// What one run of the stand-in host does.
struct SimOptions {
  VesselState vessel;          ///< radians and metres, as the host reports them
  DWORD width = kDefaultSide;  ///< pixels
  DWORD height = kDefaultSide;  ///< pixels
  std::string modulePath;       ///< empty: the module beside the executable
  std::string pngFile;          ///< empty: no PNG
  std::string svgFile;          ///< empty: no SVG
  bool dump = false;            ///< list every drawing call, not only the text
};

/**
 * Reads the command line.  Help goes to out; a bad option or value is
 * reported on err with the usage.
 *
 * @param[in] argc,argv the command line, program name first.
 * @param[out] options what to do; complete only when nothing is returned.
 * @param[in] out,err streams for help and for errors.
 * @return nothing when the host should run; otherwise the exit status to end
 *   with: 0 after --help, 2 for a bad command line.
 */
std::optional<int> ParseOptions(int argc, const char* const* argv,
                                SimOptions& options, std::ostream& out,
                                std::ostream& err);

/**
 * The module a run loads.
 *
 * @param[in] options the command line as read.
 * @param[in] defaultFile the module's file name, without a directory.
 * @return the module the command line names, else defaultFile in the
 *   executable's directory.
 */
std::string ModuleToLoad(const SimOptions& options,
                         const std::string& defaultFile);

}  // namespace norvane::sim
