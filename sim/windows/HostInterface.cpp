// The Windows stand-in host's side of the plug-in interface: what a host
// executable exports for its modules, recording what they do with it.  The
// vessel, the title and Date2Int are CommonHost's.

#include <stdio.h>

#include "sim/windows/HostRecord.hpp"

// The compiler's own <float.h> leaves msvcrt.dll's control and status word
// functions out.
extern "C" {
unsigned int _controlfp(unsigned int value, unsigned int mask);
unsigned int _statusfp();
}

namespace norvane::winhost {

HostRecord record;

}  // namespace norvane::winhost

using norvane::winhost::record;

namespace {

// The host's own work at the start of a call from the module: the change to
// its floating-point settings meant for this call, if any, and in
// GetEquPos an invalid operation.  The exception flags it leaves are the
// host's own, which it must find again after Update.  (Wine's _controlfp
// clears the SSE unit's flags when it changes the rounding.)
void HostOwnWork(norvane::sim::HostCall call) {
  norvane::winhost::FloatingPointChange& change = record.fpuChange;
  if (change.inCall && change.during == call && !change.made) {
    change.control = _controlfp(change.value, change.mask);
    change.made = true;
  }
  if (call == norvane::sim::HostCall::kGetEquPos) {
    volatile double zero = 0.0;
    volatile double invalid = zero / zero;
    static_cast<void>(invalid);
  }
  record.hostFlags = _statusfp();
}

}  // namespace

void norvane::sim::HostCallStarts(HostCall call) {
  if (call == HostCall::kDate2Int) {
    ++record.date2IntCalls;
  } else {
    HostOwnWork(call);
  }
}

MFD::MFD(DWORD w, DWORD h, VESSEL* vessel)
    : surfaceWidth(w), surfaceHeight(h), surfaceVessel(vessel) {
  ++record.mfdConstructed;
}

MFD::~MFD() { ++record.mfdDestroyed; }

bool MFD::ConsumeKeyBuffered(DWORD) {
  ++record.defaultCalls[norvane::winhost::kSlotConsumeKeyBuffered];
  return false;
}

bool MFD::ConsumeKeyImmediate(char*) {
  ++record.defaultCalls[norvane::winhost::kSlotConsumeKeyImmediate];
  return false;
}

bool MFD::ConsumeButton(int, int) {
  ++record.defaultCalls[norvane::winhost::kSlotConsumeButton];
  return false;
}

char* MFD::ButtonLabel(int) {
  ++record.defaultCalls[norvane::winhost::kSlotButtonLabel];
  return nullptr;
}

int MFD::ButtonMenu(const MFDBUTTONMENU**) const {
  ++record.defaultCalls[norvane::winhost::kSlotButtonMenu];
  return 0;
}

void MFD::ReadStatus(FILEHANDLE) {
  ++record.defaultCalls[norvane::winhost::kSlotReadStatus];
}

void MFD::WriteStatus(FILEHANDLE) const {
  ++record.defaultCalls[norvane::winhost::kSlotWriteStatus];
}

void MFD::StoreStatus() const {
  ++record.defaultCalls[norvane::winhost::kSlotStoreStatus];
}

void MFD::RecallStatus() {
  ++record.defaultCalls[norvane::winhost::kSlotRecallStatus];
}

int vapiRegisterMFDMode(MFDMODESPEC& spec) {
  ++record.registrations;
  ++record.registeredId;
  snprintf(record.modeName, sizeof record.modeName, "%s",
           spec.name != nullptr ? spec.name : "");
  record.modeKey = spec.key;
  record.modeProc = spec.msgproc;
  return record.registeredId;
}

bool vapiUnregisterMFDMode(int mode) {
  if (record.registrations == 0 || mode != record.registeredId) return false;
  --record.registrations;
  record.unregisteredId = mode;
  return true;
}

void InitLib(HINSTANCE instance) {
  ++record.initLibCalls;
  record.initLibInstance = instance;
}
