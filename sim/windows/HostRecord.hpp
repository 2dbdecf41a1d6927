#pragma once
/**
 * \file HostRecord.hpp
 * \brief What the Windows stand-in host's side of the plug-in interface saw
 *   the module do, for the host's checks.
 */

#include "host/HostApi.hpp"

namespace norvane::winhost {

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

/// The vessel as the host reports it.
struct VesselState {
  double longitude;  ///< radians, east positive
  double latitude;   ///< radians, north positive
  double radius;     ///< metres from the Earth's centre
  double heading;    ///< radians from true north, clockwise
};

/// Calls the module made into the host, and what they carried.
struct HostRecord {
  int initLibCalls;
  HINSTANCE initLibInstance;
  int date2IntCalls;
  int registrations;       ///< modes registered and not unregistered
  int registeredId;        ///< the last mode identifier handed out
  char modeName[32];       ///< the last registered mode's name, cut to fit
  DWORD modeKey;
  MFDModeMsgProc modeProc;
  int unregisteredId;      ///< the last identifier unregistered, or 0
  int mfdConstructed;
  int mfdDestroyed;
  int defaultCalls[kMfdSlots];  ///< calls of MFD's own virtual functions
};

/// The host's one record, zero at start.
extern HostRecord record;

}  // namespace norvane::winhost
