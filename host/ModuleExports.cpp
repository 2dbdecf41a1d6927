#include "host/ModuleExports.hpp"

#include <new>

#include "display/Norvane.hpp"

namespace {

int modeId = 0;
bool modeRegistered = false;
int moduleVersion = 0;

}  // namespace

void vpcDLLInit(HINSTANCE) {
  MFDMODESPEC spec{norvane::kModeName, norvane::kModeKey,
                   norvane::ModeMsgProc};
  modeId = vapiRegisterMFDMode(spec);
  modeRegistered = true;
}

void vpcDLLExit(HINSTANCE) {
  if (!modeRegistered) return;
  vapiUnregisterMFDMode(modeId);
  modeRegistered = false;
  modeId = 0;
}

int GetModuleVersion() {
  if (moduleVersion == 0) moduleVersion = Date2Int("Apr 25 2006");
  return moduleVersion;
}

namespace norvane {

std::intptr_t ModeMsgProc(std::uint32_t msg, std::uint32_t,
                          std::uintptr_t wparam, std::uintptr_t lparam) {
  if (msg != kMsgCreateDisplay) return 0;
  auto* vessel = reinterpret_cast<VESSEL*>(lparam);
  if (vessel == nullptr) return 0;
  const auto width = static_cast<DWORD>(wparam & 0xFFFFu);
  const auto height = static_cast<DWORD>((wparam >> 16) & 0xFFFFu);
  try {
    MFD* display = new (std::nothrow) Norvane(width, height, vessel);
    return reinterpret_cast<std::intptr_t>(display);
  } catch (...) {
    // The host's base constructor is its own; nothing may unwind into it.
    return 0;
  }
}

}  // namespace norvane
