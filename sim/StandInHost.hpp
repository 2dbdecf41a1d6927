#pragma once
/**
 * \file StandInHost.hpp
 * \brief The stand-in host's side of the plug-in interface: what it keeps
 *   behind the declarations of host/HostApi.hpp, for the sim and for tests.
 *
 * The vessel, the title and Date2Int are CommonHost's.  Not thread-safe:
 * like the real host, everything runs on one thread.
 */

#include <cstdint>
#include <string>
#include <vector>

#include "host/HostApi.hpp"
#include "sim/CommonHost.hpp"

namespace norvane::sim {

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

/**
 * Has the host run a function of its own at the start of MFD::Title,
 * VESSEL::GetEquPos and Date2Int, as a real host's code might, say to change
 * its own floating-point settings.
 *
 * @param[in] hook called with the function it runs in; null for none (the
 *   default, and after ResetHost).
 */
void SetHostCallHook(void (*hook)(HostCall call));

/// Forgets all registrations and the hook, and resets every counter.
void ResetHost();

}  // namespace norvane::sim
