#pragma once
/**
 * \file RemoveOnSignal.hpp
 * \brief Temporary files that an interrupted run removes: on SIGINT,
 *   SIGTERM, SIGHUP or SIGPIPE each listed file is unlinked before the
 *   signal takes its default course (a signal the process ignores stays
 *   ignored).
 */

namespace norvane::tools {

/**
 * Lists a file for removal should the process be ended by a signal.
 *
 * @param[in] path the file; the caller keeps the text alive and unchanged
 *   until it calls KeepOnSignal with the same pointer.
 * @return whether it was listed; the list holds 32 files at once.
 */
bool RemoveOnSignal(const char* path);

/**
 * Takes a file off the list.
 *
 * @param[in] path the pointer given to RemoveOnSignal.
 */
void KeepOnSignal(const char* path);

}  // namespace norvane::tools
