#pragma once
/**
 * \file DisplaySlots.hpp
 * \brief A display's virtual functions called as a host calls them: by slot
 *   number in its vtable (HostRecord.hpp's MfdSlot), with the object as the
 *   hidden first argument, thiscall on 32-bit Windows.  Nothing goes through
 *   the compiler's view of the module's class, so a slot out of place shows.
 */

#include "host/HostApi.hpp"

namespace norvane::winhost {

/// Slot 1: Update(dc).
void CallUpdate(void* display, HDC dc);

/// Slot 2: ConsumeKeyBuffered(key).
bool CallConsumeKeyBuffered(void* display, DWORD key);

/// Slots 3 to 10, which a display may leave to the MFD base, once each with
/// empty arguments: keyboard state, button, label, menu, status.
void CallBaseSlots(void* display);

/// Slot 0 with flag 1: a host's delete of an MFD*.
void CallDeletingDestructor(void* display);

}  // namespace norvane::winhost
