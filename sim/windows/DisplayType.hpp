#pragma once
/**
 * \file DisplayType.hpp
 * \brief The questions about a display's type that a host built with
 *   run-time type information may ask of any display object it gets.
 */

#include "host/HostApi.hpp"

namespace norvane::winhost {

/**
 * Asks the display what a host may ask to tell modes and their interfaces
 * apart: dynamic_cast to a display mode of the host's own (null), to an
 * interface it does not implement (null), to MFD through the runtime as a
 * cast from another interface would (the same object) and to void* (the same
 * object), and typeid's name ("class norvane::Norvane").  A display without
 * the platform's type information makes the runtime raise an exception,
 * which ends the process.
 *
 * @param[in] display a display object made by the module.
 * @return null when every answer is right; otherwise what was wrong.
 */
const char* DisplayTypeFault(MFD* display);

}  // namespace norvane::winhost
