// The Windows loader's entry for the module DLL.  The C runtime's DLL
// start-up code calls it by its C name, DllMain@12 on 32-bit Windows.

#include "host/ModuleEntry.hpp"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  return norvane::ModuleEntry(instance, reason);
}
