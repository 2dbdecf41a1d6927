#pragma once
/**
 * \file HostOptions.hpp
 * \brief The Windows stand-in host's command line.
 */

#include "sim/windows/HostRecord.hpp"

namespace norvane::winhost {

/// What one run of the Windows stand-in host does.
struct Options {
  VesselState vessel;  ///< radians and metres, as the host reports them
  int width;           ///< pixels, 1 to 65535
  int height;          ///< pixels, 1 to 65535
  const char* module;  ///< the module's file
  const char* bmp;     ///< where the page goes as a BMP file; null: nowhere
  unsigned fpuValue;   ///< _controlfp settings the host makes ...
  unsigned fpuMask;    ///< ... of these fields; 0: none
  bool fpuInCall;      ///< inside fpuCall rather than before loading
  HostCall fpuCall;    ///< kTitle or kGetEquPos
};

/**
 * Reads the command line.  --help prints the usage and exits 0; a bad option
 * or value prints why and the usage on standard error and exits 2.
 *
 * @param[in] argc,argv the command line, program name first.
 * @return what to do; the default vessel and surface where nothing is said.
 */
Options ParseOptions(int argc, char** argv);

}  // namespace norvane::winhost
