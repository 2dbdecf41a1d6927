#include "sim/windows/HostOptions.hpp"

#include <float.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "model/Wgs84.hpp"
#include "sim/DefaultVessel.hpp"
#include "sim/windows/Fail.hpp"
#include "tools/common/Angles.hpp"

namespace norvane::winhost {
namespace {

constexpr int kMaxSide = 65535;  // pixels, 16 bits

// _controlfp's fields: the x87 unit's precision (24 bits here), and the
// rounding of both the x87 and the SSE unit (toward zero here).
#if defined(__i386__)
constexpr unsigned kX87PrecisionMask = 0x00030000;
constexpr unsigned kX87Precision24 = 0x00020000;
#endif
constexpr unsigned kRoundingMask = 0x00000300;
constexpr unsigned kRoundTowardZero = 0x00000300;

const char kUsage[] =
    "usage: norvane-sim.exe [--lat DEG] [--lon DEG] [--rad M] [--heading DEG]\n"
    "                       [--size WxH] [--module PATH] [--bmp FILE]\n"
    "                       [--fpu x87-24|chop [--fpu-in title|position]]\n"
    "Loads the module, opens one display on the vessel, paints one page and\n"
    "unloads the module, checking that it keeps to the plug-in contract.\n"
    "--fpu sets the host's floating-point units before the module is loaded,\n"
    "or with --fpu-in inside the host's Title or GetEquPos.\n"
    "Exits 1 when the module misbehaves, 2 for a bad command line.\n";

using tools::Radians;

[[noreturn]] void Usage(const char* format, const char* value) {
  fprintf(ErrorStream(), "norvane-sim: ");
  fprintf(ErrorStream(), format, value);
  fprintf(ErrorStream(), "\n\n%s", kUsage);
  exit(2);
}

// The whole text as a finite number within [low, high].
double Number(const char* option, const char* text, double low, double high) {
  char* end = nullptr;
  const double value = strtod(text, &end);
  if (end == text || *end != '\0' || !(value >= low && value <= high)) {
    fprintf(ErrorStream(), "norvane-sim: %s: '%s' is not a number in [%g, %g]",
            option, text, low, high);
    Usage("%s", "");
  }
  return value;
}

int Side(const char* text, const char* whole) {
  char* end = nullptr;
  const long value = strtol(text, &end, 10);
  if (end == text || (*end != '\0' && *end != 'x') || value < 1 ||
      value > kMaxSide) {
    Usage(
        "--size: '%s': width and height must be whole numbers from 1 to "
        "65535",
        whole);
  }
  return static_cast<int>(value);
}

void ReadFpuSetting(const char* value, Options& options) {
  if (strcmp(value, "chop") == 0) {
    options.fpuValue = kRoundTowardZero;
    options.fpuMask = kRoundingMask;
  } else if (strcmp(value, "x87-24") == 0) {
#if defined(__i386__)
    options.fpuValue = kX87Precision24;
    options.fpuMask = kX87PrecisionMask;
#else
    Usage("--fpu %s: the x87 unit's precision is for 32-bit programs", value);
#endif
  } else {
    Usage("--fpu: '%s' is not x87-24 or chop", value);
  }
}

void ReadFpuCall(const char* value, Options& options) {
  options.fpuInCall = true;
  if (strcmp(value, "title") == 0) {
    options.fpuCall = HostCall::kTitle;
  } else if (strcmp(value, "position") == 0) {
    options.fpuCall = HostCall::kGetEquPos;
  } else {
    Usage("--fpu-in: '%s' is not title or position", value);
  }
}

Options Defaults() {
  Options options{};
  options.vessel = {Radians(sim::kDefaultLongitude),
                    Radians(sim::kDefaultLatitude),
                    1000.0 * (wgs84::a + sim::kDefaultAltitude),
                    Radians(sim::kDefaultHeading)};
  options.width = sim::kDefaultSide;
  options.height = sim::kDefaultSide;
  options.module = "Norvane.dll";
  return options;
}

}  // namespace

Options ParseOptions(int argc, char** argv) {
  Options options = Defaults();
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    if (strcmp(option, "--help") == 0) {
      printf("%s", kUsage);
      exit(0);
    }
    if (i + 1 >= argc) Usage("unknown option or missing value: %s", option);
    const char* value = argv[++i];
    if (strcmp(option, "--lat") == 0) {
      options.vessel.latitude = Radians(Number(option, value, -90, 90));
    } else if (strcmp(option, "--lon") == 0) {
      options.vessel.longitude = Radians(Number(option, value, -180, 180));
    } else if (strcmp(option, "--rad") == 0) {
      options.vessel.radius = Number(option, value, DBL_MIN, DBL_MAX);
    } else if (strcmp(option, "--heading") == 0) {
      options.vessel.heading =
          Radians(Number(option, value, -DBL_MAX, DBL_MAX));
    } else if (strcmp(option, "--size") == 0) {
      const char* cross = strchr(value, 'x');
      if (cross == nullptr) Usage("--size: '%s' is not WxH", value);
      options.width = Side(value, value);
      options.height = Side(cross + 1, value);
    } else if (strcmp(option, "--module") == 0) {
      options.module = value;
    } else if (strcmp(option, "--bmp") == 0) {
      options.bmp = value;
    } else if (strcmp(option, "--fpu") == 0) {
      ReadFpuSetting(value, options);
    } else if (strcmp(option, "--fpu-in") == 0) {
      ReadFpuCall(value, options);
    } else {
      Usage("unknown option: %s", option);
    }
  }
  if (options.fpuInCall && options.fpuMask == 0) {
    Usage("%s", "--fpu-in needs --fpu");
  }
  return options;
}

}  // namespace norvane::winhost
