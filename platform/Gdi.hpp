#pragma once
/**
 * \file Gdi.hpp
 * \brief The drawing interface the module paints through: the real Windows
 *   GDI on Windows, the recording stand-in everywhere else.
 */

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include "platform/StandInGdi.hpp"
#endif
