#pragma once
/**
 * \file HostRecord.hpp
 * \brief What the Windows stand-in host's side of the plug-in interface saw
 *   the module do, for the host's checks.
 */

#include "host/HostApi.hpp"
#include "sim/CommonHost.hpp"

namespace norvane::winhost {

using sim::HostCall;
using sim::VesselState;

/// MFD's virtual functions in the platform's slot order.
enum MfdSlot {
  kSlotDestructor,
  kSlotUpdate,
  kSlotConsumeKeyBuffered,
  kSlotConsumeKeyImmediate,
  kSlotConsumeButton,
  kSlotButtonLabel,
  kSlotButtonMenu,
  kSlotReadStatus,
  kSlotWriteStatus,
  kSlotStoreStatus,
  kSlotRecallStatus,
  kMfdSlots
};

/// A change the host makes to its own floating-point settings inside one of
/// its functions, in _controlfp's terms.
struct FloatingPointChange {
  bool inCall;       ///< false: made before the module is loaded, if at all
  HostCall during;   ///< the call it is made in: kTitle or kGetEquPos
  unsigned value;    ///< the new settings, within mask
  unsigned mask;     ///< the fields changed
  bool made;         ///< true once made
  unsigned control;  ///< all of _controlfp's settings right after it
};

/// Calls the module made into the host, and what they carried.
struct HostRecord {
  int initLibCalls;
  HINSTANCE initLibInstance;
  int date2IntCalls;
  int registrations;  ///< modes registered and not unregistered
  int registeredId;   ///< the last mode identifier handed out
  char modeName[32];  ///< the last registered mode's name, cut to fit
  DWORD modeKey;
  MFDModeMsgProc modeProc;
  int unregisteredId;  ///< the last identifier unregistered, or 0
  int mfdConstructed;
  int mfdDestroyed;
  int defaultCalls[kMfdSlots];    ///< calls of MFD's own virtual functions
  FloatingPointChange fpuChange;  ///< set by the host before it runs
  /// _statusfp's exception flags as the host's own work in its last call
  /// from the module left them.
  unsigned hostFlags;
};

/// The host's one record, zero at start.
extern HostRecord record;

}  // namespace norvane::winhost
