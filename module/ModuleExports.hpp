#pragma once
/**
 * \file ModuleExports.hpp
 * \brief The functions the host finds in the module by name, and the display
 *   mode's message procedure.
 */

#include <stdint.h>

#include "host/HostApi.hpp"

#if defined(_WIN32)
#define NORVANE_MODULE_API extern "C" __declspec(dllexport)
#else
#define NORVANE_MODULE_API extern "C" __attribute__((visibility("default")))
#endif

/**
 * Registers the display mode "Norvane" (selection key 47, the V key) with the
 * host and keeps its identifier.  Called by the host after loading the module.
 *
 * @param[in] instance ignored.
 */
NORVANE_MODULE_API void vpcDLLInit(HINSTANCE instance);

/**
 * Unregisters the display mode, if it is registered, and forgets its
 * identifier, so a second call does nothing.  Run at detach.
 *
 * @param[in] instance ignored.
 */
NORVANE_MODULE_API void vpcDLLExit(HINSTANCE instance);

/**
 * The module's version: the host's Date2Int of "Apr 25 2006", computed once
 * it is non-zero and cached.
 *
 * @return the version number.
 */
NORVANE_MODULE_API int GetModuleVersion();

namespace norvane {

/// The mode's name, selection key and message code for a new display.
constexpr const char* kModeName = "Norvane";
constexpr DWORD kModeKey = 47;
constexpr uint32_t kMsgCreateDisplay = 1;

/**
 * The display mode's message procedure.
 *
 * @param[in] msg message code; kMsgCreateDisplay asks for a new display.
 * @param[in] mfd identifier of the MFD; unused.
 * @param[in] wparam surface width in bits 0-15, height in bits 16-31, pixels.
 * @param[in] lparam the VESSEL pointer; must outlive the display.
 * @return for kMsgCreateDisplay the new display's address as an MFD*, owned
 *   by the caller; 0 for any other code or a null vessel, and 0 when
 *   memory cannot be had or making the display throws (whatever was made is
 *   freed again).  No exception of the module's own leaves the call.  One
 *   thrown by the host's own MFD constructor does on Windows: the module is
 *   built without exceptions and has no C++ runtime to catch with, so it
 *   passes through to the caller and the display's storage leaks.  (Builds
 *   with exceptions catch it like the GDI's, free the storage and return
 *   0.)  The host's constructor and GDI run in the caller's floating-point
 *   environment, the model's setup in the IEEE default one (Norvane).
 */
intptr_t ModeMsgProc(uint32_t msg, uint32_t mfd, uintptr_t wparam,
                     uintptr_t lparam);

}  // namespace norvane
