// The module loader on POSIX systems: dlopen, dlsym and dlclose.

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "sim/ModuleLoader.hpp"

namespace norvane::sim {
namespace {

std::string LastError(const char* fallback) {
  const char* message = dlerror();
  return message != nullptr ? message : fallback;
}

// The file the loader took the module from, as it knows it.
std::string LoadedFile(HINSTANCE module) {
  link_map* map = nullptr;
  if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr ||
      map->l_name == nullptr) {
    return {};
  }
  return map->l_name;
}

}  // namespace

HINSTANCE LoadModule(const std::string& path, std::string& error) {
  // dlopen searches the library path for a bare file name; a host loads the
  // module it was given, so a bare name means the current directory.
  const std::string file =
      path.find('/') == std::string::npos ? "./" + path : path;
  dlerror();
  void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) error = LastError("dlopen failed");
  return module;
}

bool UnloadModule(HINSTANCE module, std::string& error) {
  const std::string file = LoadedFile(module);
  dlerror();
  if (dlclose(module) != 0) {
    error = LastError("dlclose failed");
    return false;
  }
  // dlclose succeeds even when the library stays, e.g. held by a unique
  // symbol or another reference; its detach entry has then not run.
  if (void* still = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD)) {
    dlclose(still);
    error = "the module is still loaded after dlclose";
    return false;
  }
  return true;
}

std::string ExecutableDirectory() {
  std::vector<char> buffer(4096);
  const ssize_t length =
      readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
    return {};
  }
  const std::string path(buffer.data(), static_cast<std::size_t>(length));
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string{} : path.substr(0, slash + 1);
}

}  // namespace norvane::sim
