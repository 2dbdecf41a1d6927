// norvane-sim.exe: the stand-in host on Windows.  It loads the module with
// the real loader, has it register its mode, opens one display through the
// registered message procedure, has it paint a memory surface through the
// real GDI, offers it keys and destroys it, all through the display's
// vtable in the platform's slot order, then unloads the module.  Every step
// is checked against the plug-in contract; the page can be written as a BMP
// file for a check of its pixels elsewhere.
//
// It links no C runtime start-up code and no C++ runtime: only msvcrt.dll's
// C functions, like the module.

#include <float.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "sim/windows/DisplayType.hpp"
#include "sim/windows/HostRecord.hpp"
#include "sim/windows/PageBitmap.hpp"

extern "C" {
void __getmainargs(int* argc, char*** argv, char*** env, int expandWildcards,
                   int* startInfo);
// The compiler's own <float.h> comes first and leaves msvcrt.dll's control
// and status word functions out.
unsigned int _controlfp(unsigned int value, unsigned int mask);
unsigned int _clearfp();
unsigned int _statusfp();
}

namespace norvane::winhost {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEquatorialRadius = 6378137.0;  // m
constexpr int kMaxSide = 65535;                  // pixels, 16 bits

// _controlfp's fields: the x87 unit's precision (24 bits here), and the
// rounding of both the x87 and the SSE unit (toward zero here).
#if defined(__i386__)
constexpr unsigned kX87PrecisionMask = 0x00030000;
constexpr unsigned kX87Precision24 = 0x00020000;
#endif
constexpr unsigned kRoundingMask = 0x00000300;
constexpr unsigned kRoundTowardZero = 0x00000300;
// _statusfp's flag of an invalid operation.
constexpr unsigned kInvalidFlag = 0x10;

#if defined(__i386__)
#define NORVANE_THISCALL __attribute__((thiscall))
#else
#define NORVANE_THISCALL
#endif

// The display's virtual functions as a host calls them: by slot, with the
// object as the hidden first argument.
using DeletingDestructor = void*(NORVANE_THISCALL*)(void* self, unsigned flags);
using UpdateFunction = void(NORVANE_THISCALL*)(void* self, HDC dc);
using KeyFunction = bool(NORVANE_THISCALL*)(void* self, DWORD key);
using KeyStateFunction = bool(NORVANE_THISCALL*)(void* self, char* state);
using ButtonFunction = bool(NORVANE_THISCALL*)(void* self, int button,
                                               int event);
using LabelFunction = char*(NORVANE_THISCALL*)(void* self, int button);
using MenuFunction = int(NORVANE_THISCALL*)(void* self,
                                            const MFDBUTTONMENU** menu);
using StatusFunction = void(NORVANE_THISCALL*)(void* self, FILEHANDLE file);
using KeepFunction = void(NORVANE_THISCALL*)(void* self);

using InitExit = void (*)(HINSTANCE);
using Version = int (*)();

struct Options {
  VesselState vessel = {-80.6 * kPi / 180.0, 28.6 * kPi / 180.0,
                        kEquatorialRadius, 90.0 * kPi / 180.0};
  int width = 256;   // pixels
  int height = 256;  // pixels
  const char* module = "Norvane.dll";
  const char* bmp = nullptr;
  unsigned fpuValue = 0;  // _controlfp settings the host makes before loading
  unsigned fpuMask = 0;   // or, with fpuIn, inside that call
  HostCall fpuIn = kNoCall;
};

const char kUsage[] =
    "usage: norvane-sim.exe [--lat DEG] [--lon DEG] [--rad M] [--heading DEG]\n"
    "                       [--size WxH] [--module PATH] [--bmp FILE]\n"
    "                       [--fpu x87-24|chop [--fpu-in title|position]]\n"
    "Loads the module, opens one display on the vessel, paints one page and\n"
    "unloads the module, checking that it keeps to the plug-in contract.\n"
    "--fpu sets the host's floating-point units before the module is loaded,\n"
    "or with --fpu-in inside the host's Title or GetEquPos.\n"
    "Exits 1 when the module misbehaves, 2 for a bad command line.\n";

FILE* ErrorStream() { return &_iob[2]; }

[[noreturn]] void Fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  fprintf(ErrorStream(), "norvane-sim: ");
  vfprintf(ErrorStream(), format, args);
  fprintf(ErrorStream(), "\n");
  va_end(args);
  exit(1);
}

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
    Usage("--size: '%s': width and height must be whole numbers from 1 to "
          "65535", whole);
  }
  return static_cast<int>(value);
}

Options Parse(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const char* option = argv[i];
    if (strcmp(option, "--help") == 0) {
      printf("%s", kUsage);
      exit(0);
    }
    if (i + 1 >= argc) Usage("unknown option or missing value: %s", option);
    const char* value = argv[++i];
    if (strcmp(option, "--lat") == 0) {
      options.vessel.latitude = Number(option, value, -90, 90) * kPi / 180.0;
    } else if (strcmp(option, "--lon") == 0) {
      options.vessel.longitude = Number(option, value, -180, 180) * kPi / 180.0;
    } else if (strcmp(option, "--rad") == 0) {
      options.vessel.radius = Number(option, value, DBL_MIN, DBL_MAX);
    } else if (strcmp(option, "--heading") == 0) {
      options.vessel.heading =
          Number(option, value, -DBL_MAX, DBL_MAX) * kPi / 180.0;
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
      if (strcmp(value, "chop") == 0) {
        options.fpuValue = kRoundTowardZero;
        options.fpuMask = kRoundingMask;
      } else if (strcmp(value, "x87-24") == 0) {
#if defined(__i386__)
        options.fpuValue = kX87Precision24;
        options.fpuMask = kX87PrecisionMask;
#else
        Usage("--fpu %s: the x87 unit's precision is for 32-bit programs",
              value);
#endif
      } else {
        Usage("--fpu: '%s' is not x87-24 or chop", value);
      }
    } else if (strcmp(option, "--fpu-in") == 0) {
      if (strcmp(value, "title") == 0) {
        options.fpuIn = kCallTitle;
      } else if (strcmp(value, "position") == 0) {
        options.fpuIn = kCallGetEquPos;
      } else {
        Usage("--fpu-in: '%s' is not title or position", value);
      }
    } else {
      Usage("unknown option: %s", option);
    }
  }
  if (options.fpuIn != kNoCall && options.fpuMask == 0) {
    Usage("%s", "--fpu-in needs --fpu");
  }
  return options;
}

void* const* Vtable(void* display) { return *static_cast<void* const**>(display); }

template <typename Function>
Function Slot(void* display, MfdSlot slot) {
  return reinterpret_cast<Function>(Vtable(display)[slot]);
}

// The C runtime's x87 and SSE control settings, as a host sees them.
unsigned FloatingPointControl() { return _controlfp(0, 0); }

// Loads, registers, opens a display, paints, destroys and unloads, checking
// each step; returns the process's exit status.
int Run(const Options& options) {
  if (options.fpuIn != kNoCall) {
    record.fpuChange = {options.fpuIn, options.fpuValue, options.fpuMask,
                        false, 0};
  } else if (options.fpuMask != 0) {
    _controlfp(options.fpuValue, options.fpuMask);
  }
  const unsigned control = FloatingPointControl();

  const HMODULE module = LoadLibraryA(options.module);
  if (module == nullptr) Fail("cannot load %s", options.module);
  if (record.initLibCalls != 1 || record.initLibInstance != module) {
    Fail("attach called InitLib %d times, not once with the module's handle",
         record.initLibCalls);
  }
  const auto init = reinterpret_cast<InitExit>(
      reinterpret_cast<void*>(GetProcAddress(module, "vpcDLLInit")));
  const auto version = reinterpret_cast<Version>(
      reinterpret_cast<void*>(GetProcAddress(module, "GetModuleVersion")));
  if (init == nullptr || version == nullptr ||
      GetProcAddress(module, "vpcDLLExit") == nullptr) {
    Fail("the module does not export vpcDLLInit, vpcDLLExit and "
         "GetModuleVersion");
  }
  if (version() != 20060425 || version() != 20060425 ||
      record.date2IntCalls != 1) {
    Fail("GetModuleVersion is not Date2Int(\"Apr 25 2006\") computed once");
  }

  init(module);
  if (record.registrations != 1 || strcmp(record.modeName, "Norvane") != 0 ||
      record.modeKey != 47 || record.modeProc == nullptr) {
    Fail("vpcDLLInit did not register the mode \"Norvane\" with key 47");
  }
  const MFDModeMsgProc proc = record.modeProc;
  if (proc(0, 0, 0, 0) != 0 || proc(2, 0, 0, 0) != 0) {
    Fail("the message procedure answered a code other than 1");
  }

  VesselState vessel = options.vessel;
  VESSEL host(&vessel);
  const uintptr_t surface = static_cast<uintptr_t>(options.width) |
                            (static_cast<uintptr_t>(options.height) << 16);
  void* display = reinterpret_cast<void*>(
      proc(1, 0, surface, reinterpret_cast<uintptr_t>(&host)));
  if (display == nullptr || record.mfdConstructed != 1) {
    Fail("the message procedure made no display on the MFD base");
  }
  if (FloatingPointControl() != control) {
    Fail("opening a display changed the floating-point control settings");
  }
  const char* typeFault = DisplayTypeFault(static_cast<MFD*>(display));
  if (typeFault != nullptr) Fail("%s", typeFault);

  PageBitmap page(options.width, options.height);
  if (!page.Ready()) Fail("GDI made no %dx%d surface", options.width,
                          options.height);
  const HPEN hostPen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0x80));
  SelectObject(page.Dc(), hostPen);
  // The host's own exception flags: division by zero before Update, then
  // what its own work in Title and GetEquPos leaves (HostInterface.cpp).
  _clearfp();
  volatile double zero = 0.0;
  volatile double infinity = 1.0 / zero;
  static_cast<void>(infinity);
  Slot<UpdateFunction>(display, kSlotUpdate)(display, page.Dc());
  const unsigned status = _statusfp();
  if (GetCurrentObject(page.Dc(), OBJ_PEN) != hostPen) {
    Fail("Update left another pen selected than the host's");
  }
  if (options.fpuIn != kNoCall && !record.fpuChange.made) {
    Fail("Update did not call the host's function for the --fpu-in change");
  }
  const unsigned expected =
      options.fpuIn != kNoCall ? record.fpuChange.control : control;
  if (FloatingPointControl() != expected) {
    Fail("Update left the floating-point control settings at %#x, not the "
         "host's %#x", FloatingPointControl(), expected);
  }
  // GDI's own arithmetic, in the host's environment, may add flags.
  if ((status & record.hostFlags) != record.hostFlags ||
      (status & kInvalidFlag) == 0) {
    Fail("after Update the host's exception flags are %#x, without some of "
         "the %#x its own calls left", status, record.hostFlags);
  }

  const struct {
    DWORD key;
    bool consumed;
  } keys[] = {{26, true}, {27, true}, {51, true}, {52, true},
              {25, false}, {53, false}, {47, false}, {0, false}};
  for (const auto& k : keys) {
    if (Slot<KeyFunction>(display, kSlotConsumeKeyBuffered)(display, k.key) !=
        k.consumed) {
      Fail("ConsumeKeyBuffered(%lu) is not %d", k.key, k.consumed);
    }
  }
  // The slots the display leaves to the MFD base reach the host's own code.
  char keyState[256] = {};
  const MFDBUTTONMENU* menu = nullptr;
  Slot<KeyStateFunction>(display, kSlotConsumeKeyImmediate)(display, keyState);
  Slot<ButtonFunction>(display, kSlotConsumeButton)(display, 0, 0);
  Slot<LabelFunction>(display, kSlotButtonLabel)(display, 0);
  Slot<MenuFunction>(display, kSlotButtonMenu)(display, &menu);
  Slot<StatusFunction>(display, kSlotReadStatus)(display, nullptr);
  Slot<StatusFunction>(display, kSlotWriteStatus)(display, nullptr);
  Slot<KeepFunction>(display, kSlotStoreStatus)(display);
  Slot<KeepFunction>(display, kSlotRecallStatus)(display);
  for (int slot = kSlotConsumeKeyImmediate; slot < kMfdSlots; ++slot) {
    if (record.defaultCalls[slot] != 1) {
      Fail("vtable slot %d does not reach the MFD base's default", slot);
    }
  }
  if (record.defaultCalls[kSlotConsumeKeyBuffered] != 0) {
    Fail("ConsumeKeyBuffered reached the MFD base's default");
  }

  // A host's delete of an MFD*: the deleting destructor, flag 1.
  Slot<DeletingDestructor>(display, kSlotDestructor)(display, 1);
  if (record.mfdDestroyed != 1) Fail("the display's destructor skipped MFD's");
  SelectObject(page.Dc(), GetStockObject(BLACK_PEN));
  DeleteObject(hostPen);

  if (options.bmp != nullptr && !page.Write(options.bmp)) {
    Fail("cannot write %s", options.bmp);
  }

  if (!FreeLibrary(module)) Fail("FreeLibrary failed");
  if (GetModuleHandleA(options.module) != nullptr) {
    Fail("the module is still loaded");
  }
  if (record.registrations != 0 || record.unregisteredId != record.registeredId) {
    Fail("detach did not unregister the mode");
  }
  printf("norvane-sim: %s loaded, mode \"Norvane\" (key 47) registered, "
         "%dx%d page painted, display destroyed, module unloaded: every "
         "check passed\n", options.module, options.width, options.height);
  return 0;
}

}  // namespace
}  // namespace norvane::winhost

// The process's entry, in place of the C runtime's start-up code.
extern "C" void HostEntry() {
  int argc = 0;
  char** argv = nullptr;
  char** env = nullptr;
  int startInfo = 0;
  __getmainargs(&argc, &argv, &env, 0, &startInfo);
  exit(norvane::winhost::Run(norvane::winhost::Parse(argc, argv)));
}
