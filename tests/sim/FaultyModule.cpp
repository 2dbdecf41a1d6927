// A module that breaks the plug-in contract in the one way NORVANE_FAULT
// names, and otherwise behaves: registers "Norvane", creates displays that
// paint with a pen of their own, unregisters at detach.

#include <stdexcept>

#include "host/HostApi.hpp"
#include "tests/sim/Fault.hpp"

namespace {

using norvane::sim::test::Fault;
constexpr Fault kFault = static_cast<Fault>(NORVANE_FAULT);

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
  if (msg != 1 || kFault == Fault::kNoDisplay) return 0;
  MFD* display = new Display(size & 0xFFFF, (size >> 16) & 0xFFFF,
                             reinterpret_cast<VESSEL*>(vessel));
  return reinterpret_cast<std::intptr_t>(display);
}

int mode = 0;

}  // namespace

#define EXPORTED extern "C" __attribute__((visibility("default")))

// Without vpcDLLInit the registration is exported under a name the host does
// not look for.
#if NORVANE_FAULT == 2  // kNoInit
#define INIT_EXPORT vpcDLLStart
#else
#define INIT_EXPORT vpcDLLInit
#endif

EXPORTED void INIT_EXPORT(HINSTANCE) {
  if (kFault == Fault::kNoMode) return;
  MFDMODESPEC spec{kFault == Fault::kWrongName ? "Other" : "Norvane",
                   kFault == Fault::kWrongKey ? 48u : 47u, MsgProc};
  mode = vapiRegisterMFDMode(spec);
}

EXPORTED void vpcDLLExit(HINSTANCE) {
  if (kFault == Fault::kStaysRegistered) return;
  vapiUnregisterMFDMode(mode);
  if (kFault == Fault::kUnregistersTwice) vapiUnregisterMFDMode(mode);
}
