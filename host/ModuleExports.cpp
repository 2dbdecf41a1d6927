#include "host/ModuleExports.hpp"

#include "display/Norvane.hpp"
#include "platform/FloatingPointScope.hpp"

namespace {

int modeId = 0;
bool modeRegistered = false;
int moduleVersion = 0;

// The version is the module's release date written into the source, not the
// build date (__DATE__), so every build of the same code reports the same
// version to the host.  The text takes the host's Date2Int form.
constexpr const char* kReleaseDate = "Apr 25 2006";

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
  if (moduleVersion == 0) moduleVersion = Date2Int(kReleaseDate);
  return moduleVersion;
}

namespace norvane {

intptr_t ModeMsgProc(uint32_t msg, uint32_t,
                          uintptr_t wparam, uintptr_t lparam) {
  if (msg != kMsgCreateDisplay) return 0;
  auto* vessel = reinterpret_cast<VESSEL*>(lparam);
  if (vessel == nullptr) return 0;
  const auto width = static_cast<DWORD>(wparam & 0xFFFFu);
  const auto height = static_cast<DWORD>((wparam >> 16) & 0xFFFFu);
  // The model's setup computes square roots, in the environment the page
  // is painted in.  Norvane's allocation returns null rather than throwing;
  // the expression then constructs nothing and is null.
  const FloatingPointScope ieeeDefault;
  MFD* display = new Norvane(width, height, vessel);
  return reinterpret_cast<intptr_t>(display);
}

}  // namespace norvane
