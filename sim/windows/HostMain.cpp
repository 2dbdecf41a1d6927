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

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "module/ModuleExports.hpp"
#include "sim/windows/DisplaySlots.hpp"
#include "sim/windows/DisplayType.hpp"
#include "sim/windows/Fail.hpp"
#include "sim/windows/HostOptions.hpp"
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

// _statusfp's flag of an invalid operation.
constexpr unsigned kInvalidFlag = 0x10;

// Date2Int of the date the module's version names, "Apr 25 2006".
constexpr int kModuleVersion = 20060425;

using InitExit = void (*)(HINSTANCE);
using Version = int (*)();

// The C runtime's x87 and SSE control settings, as a host sees them.
unsigned FloatingPointControl() { return _controlfp(0, 0); }

// Loads the module, whose attach must hand its instance to InitLib, and
// checks its exports and its version.
HMODULE Load(const Options& options) {
  const HMODULE module = LoadLibraryA(options.module);
  if (module == nullptr) Fail("cannot load %s", options.module);
  if (record.initLibCalls != 1 || record.initLibInstance != module) {
    Fail("attach called InitLib %d times, not once with the module's handle",
         record.initLibCalls);
  }
  const auto version = reinterpret_cast<Version>(
      reinterpret_cast<void*>(GetProcAddress(module, "GetModuleVersion")));
  if (version == nullptr || GetProcAddress(module, "vpcDLLInit") == nullptr ||
      GetProcAddress(module, "vpcDLLExit") == nullptr) {
    Fail(
        "the module does not export vpcDLLInit, vpcDLLExit and "
        "GetModuleVersion");
  }
  if (version() != kModuleVersion || version() != kModuleVersion ||
      record.date2IntCalls != 1) {
    Fail("GetModuleVersion is not Date2Int(\"Apr 25 2006\") computed once");
  }
  return module;
}

// Has the module register its mode; returns the mode's message procedure,
// which must answer other codes than a display request with 0.
MFDModeMsgProc Register(HMODULE module) {
  const auto init = reinterpret_cast<InitExit>(
      reinterpret_cast<void*>(GetProcAddress(module, "vpcDLLInit")));
  init(module);
  if (record.registrations != 1 || strcmp(record.modeName, kModeName) != 0 ||
      record.modeKey != kModeKey || record.modeProc == nullptr) {
    Fail("vpcDLLInit did not register the mode \"%s\" with key %lu", kModeName,
         kModeKey);
  }
  const MFDModeMsgProc proc = record.modeProc;
  if (proc(kMsgCreateDisplay - 1, 0, 0, 0) != 0 ||
      proc(kMsgCreateDisplay + 1, 0, 0, 0) != 0) {
    Fail("the message procedure answered a code other than %u",
         kMsgCreateDisplay);
  }
  return proc;
}

// Asks for one display on the vessel, and asks it about its type.
void* Open(MFDModeMsgProc proc, const Options& options, VESSEL& vessel,
           unsigned control) {
  const uintptr_t surface = static_cast<uintptr_t>(options.width) |
                            (static_cast<uintptr_t>(options.height) << 16);
  void* display = reinterpret_cast<void*>(proc(
      kMsgCreateDisplay, 0, surface, reinterpret_cast<uintptr_t>(&vessel)));
  if (display == nullptr || record.mfdConstructed != 1) {
    Fail("the message procedure made no display on the MFD base");
  }
  if (FloatingPointControl() != control) {
    Fail("opening a display changed the floating-point control settings");
  }
  const char* typeFault = DisplayTypeFault(static_cast<MFD*>(display));
  if (typeFault != nullptr) Fail("%s", typeFault);
  return display;
}

// Has the display paint the page with a pen of the host's selected, and
// checks that the pen, the host's floating-point settings and its own
// exception flags are as the host left them.
void Paint(void* display, const PageBitmap& page, unsigned control) {
  const HPEN hostPen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0x80));
  SelectObject(page.Dc(), hostPen);
  // The host's own exception flags: division by zero before Update, then
  // what its own work in Title and GetEquPos leaves (HostInterface.cpp).
  _clearfp();
  volatile double zero = 0.0;
  volatile double infinity = 1.0 / zero;
  static_cast<void>(infinity);
  CallUpdate(display, page.Dc());
  const unsigned status = _statusfp();
  if (GetCurrentObject(page.Dc(), OBJ_PEN) != hostPen) {
    Fail("Update left another pen selected than the host's");
  }
  const FloatingPointChange& change = record.fpuChange;
  if (change.inCall && !change.made) {
    Fail("Update did not call the host's function for the --fpu-in change");
  }
  const unsigned expected = change.inCall ? change.control : control;
  if (FloatingPointControl() != expected) {
    Fail(
        "Update left the floating-point control settings at %#x, not the "
        "host's %#x",
        FloatingPointControl(), expected);
  }
  // GDI's own arithmetic, in the host's environment, may add flags.
  if ((status & record.hostFlags) != record.hostFlags ||
      (status & kInvalidFlag) == 0) {
    Fail(
        "after Update the host's exception flags are %#x, without some of "
        "the %#x its own calls left",
        status, record.hostFlags);
  }
  SelectObject(page.Dc(), GetStockObject(BLACK_PEN));
  DeleteObject(hostPen);
}

// Offers the display keys, calls the slots it leaves to the MFD base, and
// destroys it as a host's delete does.
void ProbeSlots(void* display) {
  const struct {
    DWORD key;
    bool consumed;
  } keys[] = {{26, true},  {27, true},  {51, true},  {52, true},
              {25, false}, {53, false}, {47, false}, {0, false}};
  for (const auto& k : keys) {
    if (CallConsumeKeyBuffered(display, k.key) != k.consumed) {
      Fail("ConsumeKeyBuffered(%lu) is not %d", k.key, k.consumed);
    }
  }
  CallBaseSlots(display);
  for (int slot = kSlotConsumeKeyImmediate; slot < kMfdSlots; ++slot) {
    if (record.defaultCalls[slot] != 1) {
      Fail("vtable slot %d does not reach the MFD base's default", slot);
    }
  }
  if (record.defaultCalls[kSlotConsumeKeyBuffered] != 0) {
    Fail("ConsumeKeyBuffered reached the MFD base's default");
  }
  CallDeletingDestructor(display);
  if (record.mfdDestroyed != 1) Fail("the display's destructor skipped MFD's");
}

// Unloads the module, whose detach must unregister its mode.
void Unload(HMODULE module, const Options& options) {
  if (!FreeLibrary(module)) Fail("FreeLibrary failed");
  if (GetModuleHandleA(options.module) != nullptr) {
    Fail("the module is still loaded");
  }
  if (record.registrations != 0 ||
      record.unregisteredId != record.registeredId) {
    Fail("detach did not unregister the mode");
  }
}

// One whole life of the module, each step checked; returns the process's
// exit status.
int Run(const Options& options) {
  if (options.fpuInCall) {
    record.fpuChange = {
        true, options.fpuCall, options.fpuValue, options.fpuMask, false, 0};
  } else if (options.fpuMask != 0) {
    _controlfp(options.fpuValue, options.fpuMask);
  }
  const unsigned control = FloatingPointControl();

  const HMODULE module = Load(options);
  const MFDModeMsgProc proc = Register(module);
  VesselState vessel = options.vessel;
  VESSEL hostVessel(&vessel);
  void* display = Open(proc, options, hostVessel, control);
  PageBitmap page(options.width, options.height);
  if (!page.Ready()) {
    Fail("GDI made no %dx%d surface", options.width, options.height);
  }
  Paint(display, page, control);
  ProbeSlots(display);
  if (options.bmp != nullptr && !page.Write(options.bmp)) {
    Fail("cannot write %s", options.bmp);
  }
  Unload(module, options);
  printf(
      "norvane-sim: %s loaded, mode \"%s\" (key %lu) registered, %dx%d "
      "page painted, display destroyed, module unloaded: every check "
      "passed\n",
      options.module, kModeName, kModeKey, options.width, options.height);
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
  exit(norvane::winhost::Run(norvane::winhost::ParseOptions(argc, argv)));
}
