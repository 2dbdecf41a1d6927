#pragma once
/**
 * \file Loader.hpp
 * \brief The loader interface the module uses: instance handles and the look-up
 *   of exported functions.  Windows has its own; elsewhere they map onto the
 *   platform's shared-library mechanism (dlopen handles and dlsym).
 */

#ifdef _WIN32
#include "platform/WindowsApi.hpp"
#else

/// A loaded module: the handle dlopen gives for it.
using HINSTANCE = void*;

/// An exported function of unknown type; cast to the real one before a call.
using FARPROC = void (*)();

/**
 * Looks up a function that a loaded module exports by name.
 *
 * @param[in] module the module's handle.
 * @param[in] name the export's name, zero-terminated.
 * @return the function, or null when the module exports no such name.
 */
FARPROC GetProcAddress(HINSTANCE module, const char* name);

#endif
