#pragma once
/**
 * \file CommonHost.hpp
 * \brief The part of the plug-in interface that both stand-in hosts, the
 *   native one and the Windows one, implement alike: the vessel and its
 *   queries, the title line and Date2Int (CommonHost.cpp).  It uses the C
 *   runtime only, as the Windows host has no C++ standard library.
 *
 * A vessel's OBJHANDLE points to its VesselState.
 */

#include "host/HostApi.hpp"

namespace norvane::sim {

/// What the host knows of a vessel.
struct VesselState {
  double longitude = 0.0;  ///< radians, east positive
  double latitude = 0.0;   ///< radians, north positive
  double radius = 0.0;     ///< distance from the body's centre, m
  double heading = 0.0;    ///< true heading, radians, as the host reports it
};

/// Left edge and top of the title text, pixels: the surface's top-left
/// corner, in the text settings the host selected into the device context.
constexpr int kTitleX = 5;
constexpr int kTitleY = 0;

/// The common functions that tell their host when a module calls them.
enum class HostCall { kTitle, kGetEquPos, kDate2Int };

/**
 * Called at the start of MFD::Title, VESSEL::GetEquPos and Date2Int, before
 * they do anything else.  Each stand-in host defines it, to count the calls
 * or do work of its own there.
 *
 * @param[in] call the function called.
 */
void HostCallStarts(HostCall call);

}  // namespace norvane::sim
