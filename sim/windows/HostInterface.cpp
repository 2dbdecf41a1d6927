// The Windows stand-in host's side of the plug-in interface: what a host
// executable exports for its modules, recording what they do with it.

#include <stdio.h>
#include <string.h>

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

// Title line: at the surface's top-left corner, in the text settings the
// host selected into the device context.
constexpr int kTitleX = 5;
constexpr int kTitleY = 0;

// The host's own work at the start of a call from the module: the change to
// its floating-point settings meant for this call, if any, and in
// GetEquPos an invalid operation.  The exception flags it leaves are the
// host's own, which it must find again after Update.  (Wine's _controlfp
// clears the SSE unit's flags when it changes the rounding.)
void HostOwnWork(norvane::winhost::HostCall call) {
  norvane::winhost::FloatingPointChange& change = record.fpuChange;
  if (change.during == call && !change.made) {
    change.control = _controlfp(change.value, change.mask);
    change.made = true;
  }
  if (call == norvane::winhost::kCallGetEquPos) {
    volatile double zero = 0.0;
    volatile double invalid = zero / zero;
    static_cast<void>(invalid);
  }
  record.hostFlags = _statusfp();
}

}  // namespace

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

void MFD::Title(HDC hDC, const char* title) const {
  HostOwnWork(norvane::winhost::kCallTitle);
  if (title == nullptr) return;
  TextOutA(hDC, kTitleX, kTitleY, title, static_cast<int>(strlen(title)));
}

VESSEL::VESSEL(OBJHANDLE handle) : handle_(handle) {}

OBJHANDLE VESSEL::GetHandle() const { return handle_; }

OBJHANDLE VESSEL::GetEquPos(double& longitude, double& latitude,
                            double& radius) const {
  HostOwnWork(norvane::winhost::kCallGetEquPos);
  const auto* state = static_cast<const norvane::winhost::VesselState*>(handle_);
  longitude = state->longitude;
  latitude = state->latitude;
  radius = state->radius;
  return handle_;
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

int vapiGetHeading(OBJHANDLE object, double* heading) {
  *heading = static_cast<const norvane::winhost::VesselState*>(object)->heading;
  return 1;
}

void InitLib(HINSTANCE instance) {
  ++record.initLibCalls;
  record.initLibInstance = instance;
}

// Version numbers are the date as YYYYMMDD ("Apr 25 2006" gives 20060425);
// text of any other form gives 0.
int Date2Int(const char* date) {
  ++record.date2IntCalls;
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr",
                                        "May", "Jun", "Jul", "Aug",
                                        "Sep", "Oct", "Nov", "Dec"};
  char month[4] = {};
  int day = 0;
  int year = 0;
  char trailing = 0;
  if (date == nullptr ||
      sscanf(date, "%3s %d %d%c", month, &day, &year, &trailing) != 3 ||
      day < 1 || day > 31 || year < 1 || year > 9999) {
    return 0;
  }
  for (int m = 0; m < 12; ++m) {
    if (strcmp(month, kMonths[m]) == 0) return year * 10000 + (m + 1) * 100 + day;
  }
  return 0;
}
