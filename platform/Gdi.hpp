#pragma once
/**
 * \file Gdi.hpp
 * \brief The drawing interface the module paints through: the real Windows
 *   GDI on Windows, the recording stand-in everywhere else.
 */

#ifdef _WIN32
#include "platform/WindowsApi.hpp"
#else
#include "platform/StandInGdi.hpp"
#endif
