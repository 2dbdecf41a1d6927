#include "sim/windows/DisplaySlots.hpp"

#include "sim/windows/HostRecord.hpp"

namespace norvane::winhost {
namespace {

#if defined(__i386__)
#define NORVANE_THISCALL __attribute__((thiscall))
#else
#define NORVANE_THISCALL
#endif

using DeletingDestructor = void*(NORVANE_THISCALL*)(void* self, unsigned flags);
using UpdateFunction = void(NORVANE_THISCALL*)(void* self, HDC dc);
using KeyFunction = bool(NORVANE_THISCALL*)(void* self, DWORD key);
using KeyStateFunction = bool(NORVANE_THISCALL*)(void* self, char* state);
using ButtonFunction = bool(NORVANE_THISCALL*)(void* self, int button,
                                               int event);
using LabelFunction = char*(NORVANE_THISCALL*)(void* self, int button);
using MenuFunction = int(NORVANE_THISCALL*)(void* self,
                                            const MFDBUTTONMENU** menu);
using StatusFunction = void(NORVANE_THISCALL*)(void* self, FILEHANDLE file);
using KeepFunction = void(NORVANE_THISCALL*)(void* self);

void* const* Vtable(void* display) {
  return *static_cast<void* const**>(display);
}

template <typename Function>
Function Slot(void* display, MfdSlot slot) {
  return reinterpret_cast<Function>(Vtable(display)[slot]);
}

}  // namespace

void CallUpdate(void* display, HDC dc) {
  Slot<UpdateFunction>(display, kSlotUpdate)(display, dc);
}

bool CallConsumeKeyBuffered(void* display, DWORD key) {
  return Slot<KeyFunction>(display, kSlotConsumeKeyBuffered)(display, key);
}

void CallBaseSlots(void* display) {
  char keyState[256] = {};
  const MFDBUTTONMENU* menu = nullptr;
  Slot<KeyStateFunction>(display, kSlotConsumeKeyImmediate)(display, keyState);
  Slot<ButtonFunction>(display, kSlotConsumeButton)(display, 0, 0);
  Slot<LabelFunction>(display, kSlotButtonLabel)(display, 0);
  Slot<MenuFunction>(display, kSlotButtonMenu)(display, &menu);
  Slot<StatusFunction>(display, kSlotReadStatus)(display, nullptr);
  Slot<StatusFunction>(display, kSlotWriteStatus)(display, nullptr);
  Slot<KeepFunction>(display, kSlotStoreStatus)(display);
  Slot<KeepFunction>(display, kSlotRecallStatus)(display);
}

void CallDeletingDestructor(void* display) {
  Slot<DeletingDestructor>(display, kSlotDestructor)(display, 1);
}

}  // namespace norvane::winhost
