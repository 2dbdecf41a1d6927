#define NORVANE_HOST_IMPLEMENTATION
#include "sim/StandInHost.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace norvane::sim {
namespace {

struct HostState {
  std::vector<Registration> modes;
  int nextId = 1;
  int staleUnregisters = 0;
  int initLibCalls = 0;
  HINSTANCE lastInstance = nullptr;
  int date2IntCalls = 0;
  int liveDisplays = 0;
  void (*hook)(HostCall) = nullptr;
};

// Never destroyed: a module still loaded when the process exits unregisters
// its mode from its detach entry, which runs after the host's own statics
// have been destroyed.
HostState& State() {
  static HostState* const state = new HostState;
  return *state;
}

void RunHostCallHook(HostCall call) {
  if (State().hook != nullptr) State().hook(call);
}

}  // namespace

const std::vector<Registration>& RegisteredModes() { return State().modes; }
int StaleUnregisterCalls() { return State().staleUnregisters; }
int InitLibCalls() { return State().initLibCalls; }
HINSTANCE LastInitLibInstance() { return State().lastInstance; }
int Date2IntCalls() { return State().date2IntCalls; }
int LiveDisplays() { return State().liveDisplays; }
void SetHostCallHook(void (*hook)(HostCall)) { State().hook = hook; }
void ResetHost() { State() = HostState{}; }

}  // namespace norvane::sim

using norvane::sim::HostCall;
using norvane::sim::State;
using norvane::sim::VesselState;

MFD::MFD(DWORD w, DWORD h, VESSEL* vessel)
    : surfaceWidth(w), surfaceHeight(h), surfaceVessel(vessel) {
  ++State().liveDisplays;
}

MFD::~MFD() { --State().liveDisplays; }

bool MFD::ConsumeKeyBuffered(DWORD) { return false; }
bool MFD::ConsumeKeyImmediate(char*) { return false; }
bool MFD::ConsumeButton(int, int) { return false; }
char* MFD::ButtonLabel(int) { return nullptr; }
int MFD::ButtonMenu(const MFDBUTTONMENU**) const { return 0; }
void MFD::ReadStatus(FILEHANDLE) {}
void MFD::WriteStatus(FILEHANDLE) const {}
void MFD::StoreStatus() const {}
void MFD::RecallStatus() {}

void MFD::Title(HDC hDC, const char* title) const {
  norvane::sim::RunHostCallHook(HostCall::kTitle);
  if (title == nullptr) return;
  TextOutA(hDC, norvane::sim::kTitleX, norvane::sim::kTitleY, title,
           static_cast<int>(std::strlen(title)));
}

VESSEL::VESSEL(OBJHANDLE handle) : handle_(handle) {}

OBJHANDLE VESSEL::GetHandle() const { return handle_; }

OBJHANDLE VESSEL::GetEquPos(double& longitude, double& latitude,
                            double& radius) const {
  norvane::sim::RunHostCallHook(HostCall::kGetEquPos);
  const auto* state = static_cast<const VesselState*>(handle_);
  if (state == nullptr) return nullptr;
  longitude = state->longitude;
  latitude = state->latitude;
  radius = state->radius;
  return handle_;
}

int vapiRegisterMFDMode(MFDMODESPEC& spec) {
  auto& state = State();
  const int id = state.nextId++;
  state.modes.push_back(
      {id, spec.name != nullptr ? spec.name : "", spec.key, spec.msgproc});
  return id;
}

bool vapiUnregisterMFDMode(int mode) {
  auto& modes = State().modes;
  const auto found =
      std::find_if(modes.begin(), modes.end(),
                   [mode](const auto& entry) { return entry.id == mode; });
  if (found == modes.end()) {
    ++State().staleUnregisters;
    return false;
  }
  modes.erase(found);
  return true;
}

int vapiGetHeading(OBJHANDLE object, double* heading) {
  if (object == nullptr || heading == nullptr) return 0;
  *heading = static_cast<const VesselState*>(object)->heading;
  return 1;
}

void InitLib(HINSTANCE instance) {
  ++State().initLibCalls;
  State().lastInstance = instance;
}

// Version numbers are the date as YYYYMMDD ("Apr 25 2006" gives 20060425);
// text of any other form gives 0.
int Date2Int(const char* date) {
  ++State().date2IntCalls;
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr",
                                        "May", "Jun", "Jul", "Aug",
                                        "Sep", "Oct", "Nov", "Dec"};
  if (date == nullptr) return 0;
  char month[4] = {};
  int day = 0;
  int year = 0;
  char trailing = 0;
  if (std::sscanf(date, "%3s %d %d%c", month, &day, &year, &trailing) != 3 ||
      day < 1 || day > 31 || year < 1 || year > 9999) {
    return 0;
  }
  for (int m = 0; m < 12; ++m) {
    if (std::strcmp(month, kMonths[m]) == 0) {
      return year * 10000 + (m + 1) * 100 + day;
    }
  }
  return 0;
}
