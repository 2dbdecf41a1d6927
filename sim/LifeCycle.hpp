#pragma once
/**
 * \file LifeCycle.hpp
 * \brief One whole life of a module in the stand-in host, with the checks
 *   that tell whether the module kept to the plug-in contract.
 */

#include <string>

#include "module/ModuleExports.hpp"
#include "sim/StandInHost.hpp"

namespace norvane::sim {

/// Largest surface side: width and height are packed into 16 bits each.
constexpr DWORD kMaxSurfaceSide = 0xFFFF;

/**
 * Runs a module once through its life on a host that starts afresh
 * (ResetHost): load (the module's attach entry runs), vpcDLLInit, one display
 * object from the registered mode's message procedure for a surface of
 * width × height on the vessel, one Update on dc, destruction through the
 * virtual destructor, unload (the detach entry runs).
 *
 * It fails, saying why, when the module cannot be loaded or unloaded, does
 * not hand its instance to InitLib at load, exports no vpcDLLInit, registers
 * no mode kModeName with key kModeKey, answers the request for a display
 * with 0, leaves a pen other than the previous one selected after Update,
 * leaves pens undeleted after its display is destroyed, lets an exception
 * out, unregisters a mode twice, or is still registered after unload.
 *
 * @param[in] modulePath the module's file.
 * @param[in] width,height size of the MFD surface, pixels, 1 to
 *   kMaxSurfaceSide each.
 * @param[in] vessel what the host reports about the vessel; must outlive the
 *   call.
 * @param[in] dc device context the display paints on.
 * @return empty when the module behaved; otherwise one sentence saying what
 *   went wrong.
 */
std::string RunModule(const std::string& modulePath, DWORD width, DWORD height,
                      const VesselState& vessel, HDC dc);

}  // namespace norvane::sim
