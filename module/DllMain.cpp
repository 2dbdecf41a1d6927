// The module DLL's entry.  The DLL links no C runtime start-up code, so the
// Windows loader calls DllMain itself (the DLL is linked with
// /entry:DllMain): at process attach and detach, and at thread attach and
// detach, which ModuleEntry ignores.  msvcrt.dll sets itself up when it is
// loaded, before this entry runs.

#include "module/ModuleEntry.hpp"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  return norvane::ModuleEntry(instance, reason);
}
