#include "sim/LifeCycle.hpp"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>

#include "platform/StandInGdi.hpp"
#include "sim/ModuleLoader.hpp"

namespace norvane::sim {
namespace {

using InitCallback = void (*)(HINSTANCE);

std::optional<Registration> FindMode(const std::string& name) {
  const auto& modes = RegisteredModes();
  const auto found =
      std::find_if(modes.begin(), modes.end(),
                   [&name](const auto& mode) { return mode.name == name; });
  if (found == modes.end()) return std::nullopt;
  return *found;
}

// Everything between load and unload: attach, registration, one display
// painted once and destroyed.
std::string Exercise(HINSTANCE module, DWORD width, DWORD height,
                     const VesselState& state, HDC dc) {
  if (InitLibCalls() != 1 || LastInitLibInstance() != module) {
    return "the module did not hand its instance handle to InitLib at load";
  }
  const auto init =
      reinterpret_cast<InitCallback>(GetProcAddress(module, "vpcDLLInit"));
  if (init == nullptr) return "the module exports no vpcDLLInit";
  init(module);

  const auto mode = FindMode(kModeName);
  if (!mode) {
    if (RegisteredModes().empty()) return "vpcDLLInit registered no mode";
    return "vpcDLLInit registered \"" + RegisteredModes().front().name +
           "\", not \"" + kModeName + "\"";
  }
  if (mode->key != kModeKey) {
    return "the mode's selection key is " + std::to_string(mode->key) +
           ", not " + std::to_string(kModeKey);
  }
  if (mode->msgproc == nullptr) return "the mode has no message procedure";

  // The host object behind the vessel handle is read only.
  VESSEL vessel(const_cast<VesselState*>(&state));
  const std::size_t pensBefore = gdi::LivePens();
  const std::uintptr_t size =
      std::uintptr_t{width} | (std::uintptr_t{height} << 16);
  const std::intptr_t answer = mode->msgproc(
      kMsgCreateDisplay, 0, size, reinterpret_cast<std::uintptr_t>(&vessel));
  if (answer == 0) {
    return "the message procedure answered 0 to the request for a display";
  }
  std::unique_ptr<MFD> display(reinterpret_cast<MFD*>(answer));
  const HGDIOBJ penBefore = dc->SelectedPen();
  display->Update(dc);
  const bool penRestored = dc->SelectedPen() == penBefore;
  display.reset();
  if (!penRestored) {
    return "Update did not select the previous pen again";
  }
  if (gdi::LivePens() != pensBefore) {
    return std::to_string(gdi::LivePens() - pensBefore) +
           " pen(s) left undeleted after the display was destroyed";
  }
  return {};
}

}  // namespace

std::string RunModule(const std::string& modulePath, DWORD width, DWORD height,
                      const VesselState& vessel, HDC dc) {
  if (width < 1 || width > kMaxSurfaceSide || height < 1 ||
      height > kMaxSurfaceSide) {
    return "the surface size is out of range";
  }
  ResetHost();
  std::string error;
  const HINSTANCE module = LoadModule(modulePath, error);
  if (module == nullptr) {
    return "cannot load the module " + modulePath + ": " + error;
  }

  std::string failure;
  try {
    failure = Exercise(module, width, height, vessel, dc);
  } catch (...) {
    failure = "the module let an exception out";
  }
  if (!UnloadModule(module, error) && failure.empty()) {
    failure = "cannot unload the module: " + error;
  }
  if (!failure.empty()) return failure;

  if (FindMode(kModeName)) return "the mode is still registered after unload";
  if (StaleUnregisterCalls() != 0) {
    return "the module unregistered a mode that was not registered";
  }
  return {};
}

}  // namespace norvane::sim
