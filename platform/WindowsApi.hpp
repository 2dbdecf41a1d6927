#pragma once
/**
 * \file WindowsApi.hpp
 * \brief The Windows API headers, for the Windows builds only: the kernel,
 *   the loader and GDI, without the rarely used parts that
 *   WIN32_LEAN_AND_MEAN leaves out (sockets, shell, cryptography and the
 *   like), which only slow the build and crowd the global namespace.
 */

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
