#pragma once
/**
 * \file Fail.hpp
 * \brief How the Windows stand-in host reports a module's fault or a bad
 *   command line: a line on standard error, and the exit status.
 */

#include <stdio.h>

namespace norvane::winhost {

/// msvcrt.dll's standard error stream.
FILE* ErrorStream();

/**
 * Reports that the module broke the plug-in contract and exits with status 1.
 *
 * @param[in] format printf format of the sentence, without "norvane-sim: ".
 */
[[noreturn]] void Fail(const char* format, ...);

}  // namespace norvane::winhost
