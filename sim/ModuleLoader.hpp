#pragma once
/**
 * \file ModuleLoader.hpp
 * \brief How the stand-in host brings a module into its process and takes it
 *   out again: the platform's shared-library loader behind LoadModule and
 *   UnloadModule.  A loaded module's exports are found with GetProcAddress
 *   (platform/Loader.hpp), which finds the module's own only.
 *
 * Loading runs the module's attach entry and unloading its detach entry, as
 * the platform's loader does for any shared library.
 */

#include <string>

#include "platform/Loader.hpp"

namespace norvane::sim {

/**
 * Loads a module and resolves all its symbols at once.
 *
 * @param[in] path the module's file.  A path without a directory part names
 *   a file in the current directory (the library search path is not used).
 * @param[out] error why the load failed; untouched on success.
 * @return the module's instance handle, or null when it could not be loaded.
 */
HINSTANCE LoadModule(const std::string& path, std::string& error);

/**
 * Unloads a module loaded by LoadModule; the handle is invalid afterwards.
 *
 * @param[in] module a handle from LoadModule.
 * @param[out] error why the module is still in the process; untouched on
 *   success.
 * @return true when the module has left the process.
 */
bool UnloadModule(HINSTANCE module, std::string& error);

/**
 * The directory of the running executable, where the module built with it
 * lies.
 *
 * @return the directory with a trailing separator, or empty when the
 *   platform cannot tell.
 */
std::string ExecutableDirectory();

}  // namespace norvane::sim
