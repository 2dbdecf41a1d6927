#pragma once
/**
 * \file ModuleEntry.hpp
 * \brief What the module does when the loader attaches or detaches it.
 */

#include "platform/Loader.hpp"

namespace norvane {

/// Loader reason codes.
constexpr unsigned long kModuleDetach = 0;
constexpr unsigned long kModuleAttach = 1;

/**
 * The module's entry, called by the loader (through the platform's own entry
 * hook) with the module's instance handle.
 *
 * At attach it hands the instance to the host's InitLib and picks the exit
 * callback: the module's own export "ExitModule", else its own "vpcDLLExit",
 * else none.  At detach it runs that callback, if any, with the instance.
 * Other reasons do nothing.
 *
 * @param[in] instance the module's instance handle.
 * @param[in] reason kModuleAttach, kModuleDetach or another loader reason.
 * @return 1, for every reason.
 */
int ModuleEntry(HINSTANCE instance, unsigned long reason);

}  // namespace norvane
