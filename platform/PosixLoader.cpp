#include <dlfcn.h>
#include <link.h>

#include "platform/Loader.hpp"

FARPROC GetProcAddress(HINSTANCE module, const char* name) {
  if (module == nullptr || name == nullptr) return nullptr;
  void* symbol = dlsym(module, name);
  if (symbol == nullptr) return nullptr;
  // dlsym also searches the module's dependencies; an export is the module's
  // own only when it lies in the module's own image.
  link_map* map = nullptr;
  Dl_info moduleInfo;
  Dl_info symbolInfo;
  if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr ||
      dladdr(map->l_ld, &moduleInfo) == 0 || dladdr(symbol, &symbolInfo) == 0 ||
      moduleInfo.dli_fbase != symbolInfo.dli_fbase) {
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}
