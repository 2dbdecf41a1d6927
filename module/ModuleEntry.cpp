#include "module/ModuleEntry.hpp"

#include "host/HostApi.hpp"

namespace norvane {
namespace {

using ExitCallback = void (*)(HINSTANCE);

ExitCallback exitCallback = nullptr;

ExitCallback FindExitCallback(HINSTANCE instance) {
  FARPROC found = GetProcAddress(instance, "ExitModule");
  if (found == nullptr) found = GetProcAddress(instance, "vpcDLLExit");
  // Through the generic function-pointer type: the export's real type is
  // known only by its name.
  return reinterpret_cast<ExitCallback>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

int ModuleEntry(HINSTANCE instance, unsigned long reason) {
  if (reason == kModuleAttach) {
    InitLib(instance);
    exitCallback = FindExitCallback(instance);
  } else if (reason == kModuleDetach) {
    if (exitCallback != nullptr) exitCallback(instance);
  }
  return 1;
}

}  // namespace norvane
