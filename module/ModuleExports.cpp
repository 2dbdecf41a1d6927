#include "module/ModuleExports.hpp"

#include "display/Norvane.hpp"

namespace {

int modeId = 0;
bool modeRegistered = false;
int moduleVersion = 0;

// The version is the module's release date written into the source, not the
// build date (__DATE__), so every build of the same code reports the same
// version to the host.  The text takes the host's Date2Int form.
constexpr const char* kReleaseDate = "Apr 25 2006";

// Norvane's allocation returns null rather than throwing; the expression
// then constructs nothing and is null.
MFD* NewDisplay(DWORD width, DWORD height, VESSEL* vessel) {
  return new norvane::Norvane(width, height, vessel);
}

#if defined(__cpp_exceptions)
// Builds with exceptions (off Windows) may meet a GDI or host that throws,
// such as the stand-in GDI's CreatePen when memory runs out.  By the time
// the exception arrives here the display's members made so far are
// destroyed and its storage is freed; the host gets no display.
MFD* NewDisplayOrNull(DWORD width, DWORD height, VESSEL* vessel) noexcept {
  try {
    return NewDisplay(width, height, vessel);
  } catch (...) {
    return nullptr;
  }
}
#else
MFD* NewDisplayOrNull(DWORD width, DWORD height, VESSEL* vessel) {
  return NewDisplay(width, height, vessel);
}
#endif

}  // namespace

void vpcDLLInit(HINSTANCE) {
  MFDMODESPEC spec{norvane::kModeName, norvane::kModeKey, norvane::ModeMsgProc};
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

intptr_t ModeMsgProc(uint32_t msg, uint32_t, uintptr_t wparam,
                     uintptr_t lparam) {
  if (msg != kMsgCreateDisplay) return 0;
  auto* vessel = reinterpret_cast<VESSEL*>(lparam);
  if (vessel == nullptr) return 0;
  const auto width = static_cast<DWORD>(wparam & 0xFFFFu);
  const auto height = static_cast<DWORD>((wparam >> 16) & 0xFFFFu);
  return reinterpret_cast<intptr_t>(NewDisplayOrNull(width, height, vessel));
}

}  // namespace norvane
