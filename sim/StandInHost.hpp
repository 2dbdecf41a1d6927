#pragma once
/**
 * \file StandInHost.hpp
 * \brief The stand-in host's side of the plug-in interface: what it keeps
 *   behind the declarations of host/HostApi.hpp, for the sim and for tests.
 *
 * A vessel's OBJHANDLE points to its VesselState.  Not thread-safe: like the
 * real host, everything runs on one thread.
 */

#include <cstdint>
#include <string>
#include <vector>

#include "host/HostApi.hpp"

namespace norvane::sim {

/// What the host knows of a vessel.
struct VesselState {
  double longitude = 0.0;  ///< radians, east positive
  double latitude = 0.0;   ///< radians, north positive
  double radius = 0.0;     ///< distance from the body's centre, m
  double heading = 0.0;    ///< true heading, radians, as the host reports it
};

/// A display mode as registered by a module.
struct Registration {
  int id;                  ///< identifier returned to the module
  std::string name;        ///< copy of the mode's name
  DWORD key;               ///< selection key
  MFDModeMsgProc msgproc;  ///< the mode's message procedure
};

/// The modes registered now, oldest first.
const std::vector<Registration>& RegisteredModes();

/// Number of vapiUnregisterMFDMode calls with an identifier not registered.
int StaleUnregisterCalls();

/// Number of InitLib calls, and the instance handle of the last one.
int InitLibCalls();
HINSTANCE LastInitLibInstance();

/// Number of Date2Int calls.
int Date2IntCalls();

/// Number of MFD base objects alive.
int LiveDisplays();

/// The host's functions that run the host's own hook (SetHostCallHook).
enum class HostCall { kTitle, kGetEquPos };

/**
 * Has the host run a function of its own at the start of MFD::Title and
 * VESSEL::GetEquPos, as a real host's code might, say to change its own
 * floating-point settings.
 *
 * @param[in] hook called with the function it runs in; null for none (the
 *   default, and after ResetHost).
 */
void SetHostCallHook(void (*hook)(HostCall call));

/// Forgets all registrations and the hook, and resets every counter.
void ResetHost();

/// Left edge and top of the title text, pixels.
constexpr int kTitleX = 5;
constexpr int kTitleY = 0;

}  // namespace norvane::sim
