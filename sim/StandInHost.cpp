#define NORVANE_HOST_IMPLEMENTATION
#include "sim/StandInHost.hpp"

#include <algorithm>

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

}  // namespace

const std::vector<Registration>& RegisteredModes() { return State().modes; }
int StaleUnregisterCalls() { return State().staleUnregisters; }
int InitLibCalls() { return State().initLibCalls; }
HINSTANCE LastInitLibInstance() { return State().lastInstance; }
int Date2IntCalls() { return State().date2IntCalls; }
int LiveDisplays() { return State().liveDisplays; }
void SetHostCallHook(void (*hook)(HostCall)) { State().hook = hook; }
void ResetHost() { State() = HostState{}; }

void HostCallStarts(HostCall call) {
  if (call == HostCall::kDate2Int) ++State().date2IntCalls;
  if (State().hook != nullptr) State().hook(call);
}

}  // namespace norvane::sim

using norvane::sim::State;

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

void InitLib(HINSTANCE instance) {
  ++State().initLibCalls;
  State().lastInstance = instance;
}
