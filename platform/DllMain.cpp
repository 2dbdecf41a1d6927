// The Windows loader's entry for the module DLL.

#include "host/ModuleEntry.hpp"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  return norvane::ModuleEntry(instance, reason);
}
