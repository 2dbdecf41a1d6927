// Runs the module entry when the shared library is loaded and unloaded, as
// the Windows loader runs a DLL's entry at attach and detach.

#include <dlfcn.h>

#include "module/ModuleEntry.hpp"

namespace {

HINSTANCE moduleInstance = nullptr;

// The module's own dlopen handle.  Taking it adds a reference, which is given
// back at once: the handle stays valid while the library is loaded.
HINSTANCE OwnHandle() {
  Dl_info info;
  if (dladdr(reinterpret_cast<void*>(&OwnHandle), &info) == 0) return nullptr;
  void* handle = dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle;
}

__attribute__((constructor)) void AttachModule() {
  moduleInstance = OwnHandle();
  norvane::ModuleEntry(moduleInstance, norvane::kModuleAttach);
}

__attribute__((destructor)) void DetachModule() {
  norvane::ModuleEntry(moduleInstance, norvane::kModuleDetach);
}

}  // namespace
