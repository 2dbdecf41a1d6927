// The module loader on Windows: LoadLibrary, GetProcAddress and FreeLibrary.

#include <string>
#include <vector>

#include "sim/ModuleLoader.hpp"

namespace norvane::sim {
namespace {

std::string LastError(const char* call) {
  const DWORD code = GetLastError();
  char text[256] = {};
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, 0, text, sizeof text, nullptr);
  std::string message =
      std::string(call) + " failed, error " + std::to_string(code);
  if (length > 0) {
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ')) {
      reason.pop_back();
    }
    message += ": " + reason;
  }
  return message;
}

bool HasDirectory(const std::string& path) {
  return path.find_first_of("\\/:") != std::string::npos;
}

}  // namespace

HINSTANCE LoadModule(const std::string& path, std::string& error) {
  // LoadLibrary searches the system directories for a bare file name; a host
  // loads the module it was given, so a bare name means the current
  // directory.  The loader resolves all imports before it returns.
  const std::string file = HasDirectory(path) ? path : ".\\" + path;
  const HINSTANCE module = LoadLibraryA(file.c_str());
  if (module == nullptr) error = LastError("LoadLibrary");
  return module;
}

ExportedFunction FindExport(HINSTANCE module, const char* name) {
  if (module == nullptr || name == nullptr) return nullptr;
  // GetProcAddress searches only the module's own export table.
  return reinterpret_cast<ExportedFunction>(GetProcAddress(module, name));
}

bool UnloadModule(HINSTANCE module, std::string& error) {
  if (!FreeLibrary(module)) {
    error = LastError("FreeLibrary");
    return false;
  }
  // FreeLibrary only drops a reference; the module stays, and its detach
  // entry has not run, while another reference holds it.
  HMODULE still = nullptr;
  if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(module), &still) &&
      still == module) {
    error = "the module is still loaded after FreeLibrary";
    return false;
  }
  return true;
}

std::string ExecutableDirectory() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(),
                                            static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      const std::string path(buffer.data(), length);
      const auto separator = path.find_last_of("\\/");
      return separator == std::string::npos ? std::string{}
                                            : path.substr(0, separator + 1);
    }
    if (buffer.size() >= 32768) return {};  // the longest path Windows has
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace norvane::sim
