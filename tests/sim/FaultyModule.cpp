// A module that breaks the plug-in contract in the one way NORVANE_FAULT (a
// Fault's name) says, and otherwise behaves: registers the mode, creates
// displays that paint with a pen of their own, unregisters at detach.

#include <stdexcept>

#include "module/ModuleExports.hpp"
#include "tests/sim/Fault.hpp"

namespace {

using norvane::sim::test::Fault;
constexpr Fault kFault = Fault::NORVANE_FAULT;

class Display : public MFD {
 public:
  Display(DWORD w, DWORD h, VESSEL* v)
      : MFD(w, h, v), pen_(CreatePen(PS_SOLID, 1, 0x0000FF00)) {}

  ~Display() override {
    if (kFault != Fault::kPenLeft) DeleteObject(pen_);
  }

  void Update(HDC dc) override {
    Title(dc, "Faulty");
    const HGDIOBJ previous = SelectObject(dc, pen_);
    LineTo(dc, 1, 1);
    if (kFault == Fault::kThrows) throw std::runtime_error("Update failed");
    if (kFault != Fault::kPenNotRestored) SelectObject(dc, previous);
  }

 private:
  HPEN pen_;
};

std::intptr_t MsgProc(std::uint32_t msg, std::uint32_t, std::uintptr_t size,
                      std::uintptr_t vessel) {
  if (msg != norvane::kMsgCreateDisplay || kFault == Fault::kNoDisplay) {
    return 0;
  }
  MFD* display = new Display(size & 0xFFFF, (size >> 16) & 0xFFFF,
                             reinterpret_cast<VESSEL*>(vessel));
  return reinterpret_cast<std::intptr_t>(display);
}

int mode = 0;

}  // namespace

// The build of kNoInit exports the registration under another name.
#ifndef NORVANE_INIT_EXPORT
#define NORVANE_INIT_EXPORT vpcDLLInit
#endif

NORVANE_MODULE_API void NORVANE_INIT_EXPORT(HINSTANCE) {
  if (kFault == Fault::kNoMode) return;
  MFDMODESPEC spec{kFault == Fault::kWrongName ? "Other" : norvane::kModeName,
                   norvane::kModeKey + (kFault == Fault::kWrongKey ? 1 : 0),
                   MsgProc};
  mode = vapiRegisterMFDMode(spec);
}

NORVANE_MODULE_API void vpcDLLExit(HINSTANCE) {
  if (kFault == Fault::kStaysRegistered) return;
  vapiUnregisterMFDMode(mode);
  if (kFault == Fault::kUnregistersTwice) vapiUnregisterMFDMode(mode);
}
